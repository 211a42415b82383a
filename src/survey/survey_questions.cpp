#include "survey/survey_questions.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/dialogs.h"
#include "survey/log_import.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>

namespace quarvel {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

QString number(long long value) {
    return qText(numbers::formatInteger(value));
}

QStringList columnItems(const ColumnTable& table, bool withNone) {
    QStringList items;
    for (const TableColumn& column : table.columns) {
        QString item = qText(column.name);
        if (!column.unit.empty()) {
            item += " (" + qText(column.unit) + ")";
        }
        // Items must differ for the dialog to tell them apart.
        if (items.contains(item)) {
            item += " [" + number(items.size() + 1) + "]";
        }
        items << item;
    }
    if (withNone) {
        items << "(none)";
    }
    return items;
}

// Asks for a column; NoColumn when "(none)" is picked, nothing when cancelled.
std::optional<int> askColumn(Dialogs& dialogs, const ColumnTable& table, const QString& what,
                             int proposed, bool optional) {
    const QStringList items = columnItems(table, optional);
    const int none = static_cast<int>(table.columns.size());
    const auto answer =
        dialogs.chooseItem(what + " column", "Which column holds the " + what.toLower() + "?",
                           items, proposed == NoColumn ? none : proposed);
    if (!answer) {
        return std::nullopt;
    }
    return *answer >= none ? NoColumn : *answer;
}

// A weak signal is judged against the strongest the log holds, whatever
// scale the logger records amplitudes on.
bool askAmplitudeRule(Dialogs& dialogs, const ColumnTable& table, int amplitude,
                      CleaningRules& rules) {
    static constexpr std::array<int, 4> Percents{5, static_cast<int>(DefaultAmplitudePercent), 25,
                                                 50};
    const double largest = largestValue(table, amplitude);
    QStringList items{"Keep every velocity"};
    for (const int percent : Percents) {
        items << QString("Below %1 % of the largest (%2)")
                     .arg(percent)
                     .arg(qText(numbers::formatFixed(largest * percent / 100, 3)));
    }
    const auto answer = dialogs.chooseItem("P-wave amplitude",
                                           "Velocities measured with a P-wave amplitude (" +
                                               qText(table.columns[amplitude].name) +
                                               ") below the threshold are set to 0 (missing):",
                                           items, 2);
    if (!answer) {
        return false;
    }
    if (*answer > 0) {
        rules.minAmplitude = largest * Percents[static_cast<std::size_t>(*answer - 1)] / 100;
    }
    return true;
}

bool askVelocityRange(Dialogs& dialogs, CleaningRules& rules) {
    struct Range {
        double low;
        double high;
    };
    static constexpr std::array<Range, 4> Ranges{
        {{DefaultMinVelocity, DefaultMaxVelocity}, {1400, 2000}, {1450, 1800}, {1200, 5000}}};
    QStringList items;
    for (const Range& range : Ranges) {
        items << QString("%1 to %2 m/s")
                     .arg(qText(numbers::formatInteger(static_cast<long long>(range.low))))
                     .arg(qText(numbers::formatInteger(static_cast<long long>(range.high))));
    }
    items << "Keep every velocity";
    const auto answer = dialogs.chooseItem(
        "Velocity range", "Velocities outside the range are set to 0 (missing):", items, 0);
    if (!answer) {
        return false;
    }
    if (*answer < static_cast<int>(Ranges.size())) {
        rules.minVelocity = Ranges[static_cast<std::size_t>(*answer)].low;
        rules.maxVelocity = Ranges[static_cast<std::size_t>(*answer)].high;
    }
    return true;
}

} // namespace

std::optional<std::string> logTextForGrid(Dialogs& dialogs, const std::string& text,
                                          const std::string& fileName) {
    const LogFileKind kind = logFileKind(text);
    if (kind == LogFileKind::Plain) {
        return text;
    }
    const SurveyLog log = readSurveyLog(kind, text, fileName);
    const ColumnChoice proposal = proposeColumns(log.table);
    ColumnChoice choice;
    choice.amplitude = proposal.amplitude;
    const auto depth = askColumn(dialogs, log.table, "Depth", proposal.depth, false);
    if (!depth) {
        return std::nullopt;
    }
    choice.depth = *depth;
    const auto velocity = askColumn(dialogs, log.table, "Velocity", proposal.velocity, true);
    if (!velocity) {
        return std::nullopt;
    }
    choice.velocity = *velocity;
    const auto density = askColumn(dialogs, log.table, "Density", proposal.density, true);
    if (!density) {
        return std::nullopt;
    }
    choice.density = *density;
    CleaningRules rules;
    if (choice.velocity != NoColumn) {
        if (choice.amplitude != NoColumn &&
            !askAmplitudeRule(dialogs, log.table, choice.amplitude, rules)) {
            return std::nullopt;
        }
        if (!askVelocityRange(dialogs, rules)) {
            return std::nullopt;
        }
    }
    const ConvertedLog imported = convertLog(log.table, choice, rules);
    const std::string summary = importSummary(imported, log.notes, fileName);
    if (!summary.empty()) {
        dialogs.showMessage(qText(summary));
    }
    return imported.text;
}

} // namespace quarvel
