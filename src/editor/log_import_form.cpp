#include "editor/log_import_form.h"

#include "formats/log_file.h"
#include "formats/numbers.h"
#include "platform/canvas.h"
#include "platform/image_panel.h"
#include "plot/log_panel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace quarvel {
namespace {

constexpr std::size_t PreviewRows = 8;
constexpr LogRole Roles[] = {LogRole::Depth, LogRole::Velocity, LogRole::Density};

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

QString number(long long value) {
    return qText(numbers::formatInteger(value));
}

QStringList columnItems(const ColumnTable& table, bool withNone) {
    QStringList items;
    QSet<QString> seen;
    for (const TableColumn& column : table.columns) {
        QString item = qText(column.name);
        if (!column.unit.empty()) {
            item += " (" + qText(column.unit) + ")";
        }
        // Items must differ for a list to tell them apart.
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

// Where the unit proposed for a column comes from, or why there is none.
QString unitSource(LogRole role, const TableColumn& column) {
    if (const auto conflict = unitConflict(role, column)) {
        return "Its name says " + unitItem(conflict->inName) + " but its unit field " +
               unitItem(conflict->inField) + ".";
    }
    if (const auto stated = statedUnit(role, column)) {
        return "The file gives " + unitItem(*stated) + ".";
    }
    if (!column.unit.empty()) {
        return "The file gives \"" + qText(column.unit) + "\", which Quarvel does not convert.";
    }
    return "The file gives no unit.";
}

// The unit a column starts from: the one it states, a sonic log's usual
// µs/ft, else as written.
std::string startingUnit(LogRole role, const TableColumn& column) {
    if (const auto proposed = proposeUnit(role, column)) {
        return proposed->name;
    }
    return role == LogRole::Velocity && namesSonic(column.name) ? "us/ft" : "";
}

QString removes(int removed, int readings) {
    return QString("removes %1 of %2").arg(number(removed), number(readings));
}

std::size_t roleIndex(LogRole role) {
    return static_cast<std::size_t>(role);
}

void selectUnit(QComboBox* box, LogRole role, const std::string& name) {
    const std::vector<LogUnit> units = unitChoices(role);
    const auto found = std::find_if(units.begin(), units.end(),
                                    [&name](const LogUnit& unit) { return unit.name == name; });
    box->setCurrentIndex(
        static_cast<int>(found == units.end() ? units.size() - 1 : found - units.begin()));
}

// The panel's bounds around the values the log holds (0 is a missing value).
std::pair<int, int> boundsOf(const std::vector<double>& values, double scale) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const double value : values) {
        if (value > 0) {
            low = std::min(low, value * scale);
            high = std::max(high, value * scale);
        }
    }
    return low > high
               ? std::pair(0, 0)
               : std::pair(static_cast<int>(std::floor(low)), static_cast<int>(std::ceil(high)));
}

} // namespace

LogImportForm::LogImportForm(const std::string& fileName, const ColumnTable& table,
                             const ImportStart& start, const std::vector<std::string>& reasons,
                             QWidget* parent)
    : QDialog(parent), fileName_(fileName), table_(table), columns_(start.columns) {
    setObjectName("LogImportForm");
    setWindowTitle("Import Log: " + qText(fileName));
    auto* layout = new QVBoxLayout(this);
    if (!reasons.empty()) {
        QStringList why;
        for (const std::string& reason : reasons) {
            why << qText(reason);
        }
        auto* reasonLabel = new QLabel(why.join('\n') + "\nChoose again below.", this);
        reasonLabel->setObjectName("reasonLabel");
        reasonLabel->setWordWrap(true);
        layout->addWidget(reasonLabel);
    }
    auto* top = new QHBoxLayout;
    auto* choices = new QWidget(this);
    buildRoles(choices);
    buildCleaning(choices);
    top->addWidget(choices, 1);
    velocityPlot = new ImagePanel("velocityPlot", 130, 220, this);
    densityPlot = new ImagePanel("densityPlot", 130, 220, this);
    top->addWidget(velocityPlot);
    top->addWidget(densityPlot);
    layout->addLayout(top);
    const CleaningChoice cleaning = cleaningChoiceFor(table_, columns_, start.cleaning);
    preview_ = previewImport(table_, columns_, cleaning, PreviewRows);
    buildPreviewTable();
    layout->addWidget(previewTable);
    countsLabel = new QLabel(this);
    countsLabel->setObjectName("countsLabel");
    countsLabel->setWordWrap(true);
    layout->addWidget(countsLabel);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    showCleaningOptions();
    amplitudeBox->setCurrentIndex(cleaning.amplitude ? static_cast<int>(*cleaning.amplitude) + 1
                                                     : 0);
    rangeBox->setCurrentIndex(cleaning.range ? static_cast<int>(*cleaning.range)
                                             : rangeBox->count() - 1);
    choicesChanged();
}

void LogImportForm::buildRoles(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel("Column", parent), 0, 1);
    grid->addWidget(new QLabel("Unit", parent), 0, 2);
    for (const LogRole role : Roles) {
        const auto row = static_cast<int>(roleIndex(role)) + 1;
        const QString name = byRole<QString>(role, "depth", "velocity", "density");
        grid->addWidget(new QLabel(name[0].toUpper() + name.mid(1), parent), row, 0);
        auto* column = new QComboBox(parent);
        column->setObjectName(name + "Column");
        column->addItems(columnItems(table_, role != LogRole::Depth));
        const int chosen = columns_.column(role);
        column->setCurrentIndex(chosen == NoColumn ? column->count() - 1 : chosen);
        auto* unit = new QComboBox(parent);
        unit->setObjectName(name + "Unit");
        for (const LogUnit& each : unitChoices(role)) {
            unit->addItem(unitItem(each));
        }
        const std::string& given = columns_.unit(role).name;
        selectUnit(unit, role,
                   given.empty() && chosen != NoColumn
                       ? startingUnit(role, table_.columns[static_cast<std::size_t>(chosen)])
                       : given);
        grid->addWidget(column, row, 1);
        grid->addWidget(unit, row, 2);
        columnBoxes_[roleIndex(role)] = column;
        unitBoxes_[roleIndex(role)] = unit;
        connect(column, &QComboBox::currentIndexChanged, this,
                [this, role] { columnChanged(role); });
        connect(unit, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
    }
}

void LogImportForm::buildCleaning(QWidget* parent) {
    auto* grid = static_cast<QGridLayout*>(parent->layout());
    amplitudeBox = new QComboBox(parent);
    amplitudeBox->setObjectName("amplitudeRule");
    rangeBox = new QComboBox(parent);
    rangeBox->setObjectName("velocityRange");
    auto* rule = new QLabel("Velocities measured with a weak P-wave signal, or outside the "
                            "range, are set to 0 (missing):",
                            parent);
    rule->setWordWrap(true);
    grid->addWidget(rule, 4, 0, 1, 3);
    const QString amplitude =
        columns_.amplitude == NoColumn
            ? QString("Amplitude")
            : qText(table_.columns[static_cast<std::size_t>(columns_.amplitude)].name);
    grid->addWidget(new QLabel(amplitude, parent), 5, 0);
    grid->addWidget(amplitudeBox, 5, 1, 1, 2);
    grid->addWidget(new QLabel("Range", parent), 6, 0);
    grid->addWidget(rangeBox, 6, 1, 1, 2);
    connect(amplitudeBox, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
    connect(rangeBox, &QComboBox::currentIndexChanged, this, [this] { choicesChanged(); });
}

void LogImportForm::buildPreviewTable() {
    previewTable = new QTableWidget(this);
    previewTable->setObjectName("previewTable");
    previewTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto& rows = preview_.firstRows;
    previewTable->setColumnCount(static_cast<int>(table_.columns.size()));
    previewTable->setRowCount(static_cast<int>(rows.size()));
    previewTable->setHorizontalHeaderLabels(columnItems(table_, false));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < table_.columns.size(); ++c) {
            const double value = cellAt(rows[r], c);
            previewTable->setItem(
                static_cast<int>(r), static_cast<int>(c),
                new QTableWidgetItem(
                    std::isnan(value) ? QString() : qText(numbers::formatSignificant(value, 6))));
        }
    }
    previewTable->verticalHeader()->setDefaultSectionSize(18);
    previewTable->setFixedHeight(18 * static_cast<int>(PreviewRows + 2));
}

void LogImportForm::columnChanged(LogRole role) {
    QComboBox* column = columnBoxes_[roleIndex(role)];
    QComboBox* unit = unitBoxes_[roleIndex(role)];
    const auto index = static_cast<std::size_t>(column->currentIndex());
    // A column chosen anew starts from its own unit.
    if (index < table_.columns.size()) {
        const QSignalBlocker quiet(unit);
        selectUnit(unit, role, startingUnit(role, table_.columns[index]));
    }
    choicesChanged();
}

void LogImportForm::choicesChanged() {
    for (const LogRole role : Roles) {
        const int index = columnBoxes_[roleIndex(role)]->currentIndex();
        const bool named = index >= 0 && static_cast<std::size_t>(index) < table_.columns.size();
        columns_.column(role) = named ? index : NoColumn;
        QComboBox* unit = unitBoxes_[roleIndex(role)];
        unit->setEnabled(named);
        unit->setToolTip(named ? unitSource(role, table_.columns[static_cast<std::size_t>(index)])
                               : QString());
        columns_.unit(role) = unitChoices(role)[static_cast<std::size_t>(unit->currentIndex())];
    }
    const int amplitude = amplitudeBox->currentIndex();
    const int range = rangeBox->currentIndex();
    CleaningChoice cleaning;
    if (amplitude > 0) {
        cleaning.amplitude = static_cast<std::size_t>(amplitude - 1);
    }
    if (range >= 0) {
        cleaning.range = static_cast<std::size_t>(range);
    }
    const std::size_t amplitudes = preview_.amplitudeOptions.size();
    const std::size_t ranges = preview_.rangeOptions.size();
    preview_ = previewImport(table_, columns_, cleaning, PreviewRows);
    // Other velocities may offer other rules: those proposed for them.
    if (preview_.amplitudeOptions.size() != amplitudes || preview_.rangeOptions.size() != ranges) {
        const CleaningChoice proposed = cleaningChoiceFor(table_, columns_, std::nullopt);
        preview_ = previewImport(table_, columns_, proposed, PreviewRows);
        showCleaningOptions();
        const QSignalBlocker quietAmplitude(amplitudeBox);
        const QSignalBlocker quietRange(rangeBox);
        amplitudeBox->setCurrentIndex(proposed.amplitude ? static_cast<int>(*proposed.amplitude) + 1
                                                         : 0);
        rangeBox->setCurrentIndex(proposed.range ? static_cast<int>(*proposed.range)
                                                 : rangeBox->count() - 1);
    }
    showCleaningOptions();
    drawPlots();
    QString counts = QString("The import makes %1 records.").arg(number(preview_.counts.records));
    if (const std::string summary = importSummary(preview_.counts, {}, fileName_);
        !summary.empty()) {
        counts += "\n" + qText(summary);
    }
    countsLabel->setText(counts);
}

// The rules on offer with what each removes now; the lists keep their places.
void LogImportForm::showCleaningOptions() {
    const QSignalBlocker quietAmplitude(amplitudeBox);
    const QSignalBlocker quietRange(rangeBox);
    QStringList amplitudes{"Keep every velocity"};
    for (const AmplitudeOption& option : preview_.amplitudeOptions) {
        amplitudes << QString("Below %1 % of the largest (%2): %3")
                          .arg(option.percent)
                          .arg(qText(numbers::formatFixed(option.threshold, 3)))
                          .arg(removes(option.removes, preview_.readings));
    }
    QStringList ranges;
    for (const RangeOption& option : preview_.rangeOptions) {
        ranges << QString("%1%2 to %3 m/s: %4")
                      .arg(option.fromLog ? "From this log: " : "")
                      .arg(number(static_cast<long long>(option.low)))
                      .arg(number(static_cast<long long>(option.high)))
                      .arg(removes(option.removes, preview_.readings));
    }
    ranges << "Keep every velocity";
    for (auto [box, items] : {std::pair(amplitudeBox, amplitudes), std::pair(rangeBox, ranges)}) {
        if (box->count() != items.size()) {
            box->clear();
            box->addItems(items);
        }
        for (int i = 0; i < items.size(); ++i) {
            box->setItemText(i, items[i]);
        }
    }
    const bool velocities = columns_.velocity != NoColumn;
    amplitudeBox->setEnabled(velocities && !preview_.amplitudeOptions.empty());
    rangeBox->setEnabled(velocities);
}

void LogImportForm::drawPlots() {
    const ConvertedSeries& series = preview_.series;
    std::vector<LogRecord> records(series.depths.size());
    const auto orZero = [](double value) { return std::isnan(value) ? 0.0 : value; };
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i] = {series.depths[i], orZero(series.velocities[i]), orZero(series.densities[i])};
    }
    const double bottom = series.depths.empty() ? 0.0 : std::max(0.0, series.depths.back());
    for (auto [panel, kind] : {std::pair(velocityPlot, LogPanelKind::Velocity),
                               std::pair(densityPlot, LogPanelKind::Density)}) {
        const bool density = kind == LogPanelKind::Density;
        const auto [low, high] =
            boundsOf(density ? series.densities : series.velocities, density ? 1000 : 1);
        panel->setPicture(renderLogPanel({kind, records, low, high, 0.0, bottom},
                                         panel->panelWidth(), panel->panelHeight(), layoutFont()));
    }
}

} // namespace quarvel
