#include "editor/dialog_log_questions.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/dialogs.h"

#include <QSet>
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

QString roleName(LogRole role) {
    switch (role) {
    case LogRole::Depth:
        return "Depth";
    case LogRole::Velocity:
        return "Velocity";
    case LogRole::Density:
        break;
    }
    return "Density";
}

QStringList columnItems(const ColumnTable& table, bool withNone) {
    QStringList items;
    QSet<QString> seen;
    for (const TableColumn& column : table.columns) {
        QString item = qText(column.name);
        if (!column.unit.empty()) {
            item += " (" + qText(column.unit) + ")";
        }
        // Items must differ for the dialog to tell them apart.
        if (seen.contains(item)) {
            item += " [" + number(items.size() + 1) + "]";
        }
        seen.insert(item);
        items << item;
    }
    if (withNone) {
        items << "(none)";
    }
    return items;
}

QString unitItem(const LogUnit& unit) {
    if (unit.name.empty()) {
        return "As written (no conversion)";
    }
    QString name = qText(unit.name);
    if (name.startsWith("us/")) {
        name.replace(0, 1, QChar(0x00B5));
    }
    return unit.slowness ? name + " (sonic transit time)" : name;
}

QString removes(int removed, int readings) {
    return QString("removes %1 of %2").arg(number(removed), number(readings));
}

// A weak signal is judged against the strongest the log holds, whatever
// scale the logger records amplitudes on.
std::optional<std::optional<double>> askAmplitudeRule(DialogLogQuestions& asker,
                                                      const CleaningQuestion& question) {
    static constexpr std::array<double, 4> Percents{5, DefaultAmplitudePercent, 25, 50};
    const double largest = largestAmplitude(question.readings);
    QStringList items{"Keep every velocity"};
    for (const double percent : Percents) {
        const double threshold = largest * percent / 100;
        const RuleCounts counts = countRemoved(question.readings, {threshold, {}, {}});
        items << QString("Below %1 % of the largest (%2): %3")
                     .arg(percent)
                     .arg(qText(numbers::formatFixed(threshold, 3)))
                     .arg(removes(counts.byAmplitude, counts.readings));
    }
    const auto answer = asker.choose("P-wave amplitude",
                                     "Velocities measured with a P-wave amplitude (" +
                                         qText(question.amplitudeColumn) +
                                         ") below the threshold are set to 0 (missing):",
                                     items, 2);
    if (!answer) {
        return std::nullopt;
    }
    if (*answer <= 0) {
        return std::optional<double>();
    }
    return largest * Percents[static_cast<std::size_t>(*answer - 1)] / 100;
}

QString rangeText(double low, double high) {
    return QString("%1 to %2 m/s")
        .arg(qText(numbers::formatInteger(static_cast<long long>(low))))
        .arg(qText(numbers::formatInteger(static_cast<long long>(high))));
}

// The range proposed from the log's own velocities comes first; fixed ranges
// for sediment follow, each with what it would remove.
bool askVelocityRange(DialogLogQuestions& asker, const CleaningQuestion& question,
                      CleaningRules& rules) {
    struct Range {
        double low;
        double high;
    };
    std::vector<Range> ranges{{1300, 3000}, {1400, 2000}, {1450, 1800}, {1200, 5000}};
    QStringList items;
    const bool fromLog = question.proposed.minVelocity && question.proposed.maxVelocity;
    if (fromLog) {
        ranges.insert(ranges.begin(),
                      {*question.proposed.minVelocity, *question.proposed.maxVelocity});
    }
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        CleaningRules candidate = rules;
        candidate.minVelocity = ranges[i].low;
        candidate.maxVelocity = ranges[i].high;
        const RuleCounts counts = countRemoved(question.readings, candidate);
        items << (i == 0 && fromLog ? "From this log: " : "") +
                     rangeText(ranges[i].low, ranges[i].high) + ": " +
                     removes(counts.byRange, counts.readings);
    }
    items << "Keep every velocity";
    const auto answer = asker.choose(
        "Velocity range", "Velocities outside the range are set to 0 (missing):", items, 0);
    if (!answer) {
        return false;
    }
    if (*answer < static_cast<int>(ranges.size())) {
        rules.minVelocity = ranges[static_cast<std::size_t>(*answer)].low;
        rules.maxVelocity = ranges[static_cast<std::size_t>(*answer)].high;
    }
    return true;
}

} // namespace

std::optional<int> DialogLogQuestions::choose(const QString& what, const QString& label,
                                              const QStringList& items, int current) {
    const QString title = what + " of " + qText(fileName_);
    const QString reason = qText(std::exchange(again_, {}));
    return dialogs_.chooseItem(title, reason.isEmpty() ? label : reason + "\n\n" + label, items,
                               current);
}

std::optional<int> DialogLogQuestions::column(LogRole role, const ColumnTable& table,
                                              int proposed) {
    const bool optional = role != LogRole::Depth;
    const QStringList items = columnItems(table, optional);
    const int none = static_cast<int>(table.columns.size());
    const QString what = roleName(role);
    QString label = "Which column holds the " + what.toLower() + "?";
    if (role == LogRole::Velocity) {
        label += " (A sonic transit time, DT, becomes a velocity.)";
    }
    const auto answer =
        choose(what + " column", label, items, proposed == NoColumn ? none : proposed);
    if (!answer) {
        return std::nullopt;
    }
    return *answer >= none ? NoColumn : *answer;
}

std::optional<LogUnit> DialogLogQuestions::unit(LogRole role, const TableColumn& column,
                                                const std::optional<LogUnit>& proposed) {
    const std::vector<LogUnit> units = unitChoices(role);
    QStringList items;
    int current = static_cast<int>(units.size()) - 1;
    const std::string wanted = proposed ? proposed->name
                               : role == LogRole::Velocity && namesSonic(column.name) ? "us/ft"
                                                                                      : "";
    for (std::size_t i = 0; i < units.size(); ++i) {
        items << unitItem(units[i]);
        if (units[i].name == wanted) {
            current = static_cast<int>(i);
        }
    }
    // Say where the proposal came from, or why there is none.
    QString read;
    if (const auto conflict = unitConflict(role, column)) {
        read = "its name says " + unitItem(conflict->inName) + " but its unit field " +
               unitItem(conflict->inField);
    } else if (const auto stated = statedUnit(role, column)) {
        read = "the file gives " + unitItem(*stated);
    } else if (!column.unit.empty()) {
        read = "the file gives \"" + qText(column.unit) + "\", which Quarvel does not convert";
    } else {
        read = "the file gives no unit";
    }
    const auto answer =
        choose(roleName(role) + " unit",
               "Unit of the column \"" + qText(column.name) + "\" (" + read + "):", items, current);
    if (!answer || *answer < 0 || *answer >= static_cast<int>(units.size())) {
        return std::nullopt;
    }
    return units[static_cast<std::size_t>(*answer)];
}

std::optional<CleaningRules> DialogLogQuestions::cleaning(const CleaningQuestion& question) {
    CleaningRules rules;
    if (!question.amplitudeColumn.empty()) {
        const auto threshold = askAmplitudeRule(*this, question);
        if (!threshold) {
            return std::nullopt;
        }
        rules.minAmplitude = *threshold;
    }
    if (!askVelocityRange(*this, question, rules)) {
        return std::nullopt;
    }
    return rules;
}

} // namespace quarvel
