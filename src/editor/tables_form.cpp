#include "editor/tables_form.h"

#include "document/workspace.h"
#include "editor/dialog_log_questions.h"
#include "editor/interpolation.h"
#include "editor/log_import.h"
#include "editor/segy_trace_form.h"
#include "formats/log_file.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/window_geometry.h"
#include "survey/log_import_choices.h"

#include <QAction>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace quarvel {
namespace {

constexpr int StripHeight = 33;

QToolButton* textButton(QWidget* parent, const QString& name, const QString& caption,
                        const QColor& colour, int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setAutoRaise(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    button->setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, colour);
    button->setPalette(palette);
    button->setGeometry(left, 6, 49, 22);
    return button;
}

QToolButton* iconButton(QWidget* parent, const QString& name, const QString& hint,
                        QStyle::StandardPixmap icon, int left) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setAutoRaise(true);
    button->setGeometry(left, 5, 23, 22);
    return button;
}

QFrame* buttonStrip(QWidget* parent) {
    auto* strip = new QFrame(parent);
    strip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    strip->setFixedHeight(StripHeight);
    return strip;
}

} // namespace

TTables_Form::TTables_Form(Services& services)
    : services_(services), workspace_(services.workspace) {
    setObjectName("Tables_Form");
    setWindowTitle("Data Editor");
    move(105, 47);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    buildTopPanel();
    layout->addWidget(Panel1);
    buildPages();
    SegyForm = new SegyTraceForm(services_.errors, this);
    layout->addWidget(PageControl1, 1);
    buildMenu();
    // The top panel and the pages fill 312 x 662 below the menu bar.
    setClientSize(*this, {312, 662});
    connectHandlers();
    showLogGrid();
}

TTables_Form::Page TTables_Form::currentPage() const {
    return static_cast<Page>(PageControl1->currentIndex());
}

void TTables_Form::showPage(Page page) {
    PageControl1->setCurrentIndex(page);
}

void TTables_Form::buildTopPanel() {
    Panel1 = new QFrame;
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(StripHeight);
    LoadButton = textButton(Panel1, "LoadButton", "Load", QColor(0, 0, 128), 8);
    SaveButton = textButton(Panel1, "SaveButton", "Save", QColor(255, 0, 0), 56);
}

QWidget* TTables_Form::buildPage(const QString& name, QWidget* content) {
    auto* page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* strip = buttonStrip(page);
    strip->setObjectName(name + "Strip");
    layout->addWidget(strip);
    layout->addWidget(content, 1);
    return page;
}

void TTables_Form::buildPages() {
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName("PageControl1");
    PageControl1->setUsesScrollButtons(false);

    loggrid = new QTableWidget(LogGridInitialRows - 1, LogGridColumns);
    loggrid->setObjectName("loggrid");
    loggrid->setColumnWidth(0, 80);
    loggrid->setColumnWidth(1, 103);
    loggrid->setColumnWidth(2, 98);
    loggrid->verticalHeader()->setMinimumSectionSize(15);
    loggrid->verticalHeader()->setDefaultSectionSize(15);
    loggrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    loggrid->setShowGrid(true);
    QWidget* logs = buildPage("Logs", loggrid);
    QWidget* strip = logs->findChild<QFrame*>("LogsStrip");
    ClearButton = textButton(strip, "ClearButton", "Clear", QColor(0, 128, 128), 192);
    LogsRefreshButton =
        iconButton(strip, "LogsRefreshButton", "Refresh Graph", QStyle::SP_BrowserReload, 248);
    SpeedButton1 = iconButton(strip, "SpeedButton1", "Interpolate Series",
                              QStyle::SP_FileDialogDetailedView, 272);

    Syntmemo = new QPlainTextEdit;
    Syntmemo->setObjectName("Syntmemo");
    // One sample per line: a wrapped line would put its amplitude under the
    // time column.
    Syntmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Syntmemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QWidget* synthetic = buildPage("Synthetic", Syntmemo);
    strip = synthetic->findChild<QFrame*>("SyntheticStrip");
    auto* caption = new QLabel(QStringLiteral("TWT (msec)        Amp"), strip);
    caption->setObjectName("SyntheticCaption");
    caption->move(8, 8);
    SyntheticRefreshButton =
        iconButton(strip, "SyntheticRefreshButton", "Refresh Graph", QStyle::SP_BrowserReload, 280);

    Tracememo = new QPlainTextEdit;
    Tracememo->setObjectName("Tracememo");
    Tracememo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Tracememo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QWidget* trace = buildPage("Trace", Tracememo);
    strip = trace->findChild<QFrame*>("TraceStrip");
    TraceRefreshButton =
        iconButton(strip, "TraceRefreshButton", "Refresh Graph", QStyle::SP_BrowserReload, 280);

    PageControl1->addTab(logs, "Logs");
    PageControl1->addTab(synthetic, "Synthetic");
    PageControl1->addTab(trace, "Trace");
    PageControl1->setCurrentIndex(LogsPage);
}

void TTables_Form::buildMenu() {
    QMenu* file = menuBar()->addMenu("File");
    Load1 = file->addAction("Load");
    Load1->setObjectName("Load1");
    Save1 = file->addAction("Save");
    Save1->setObjectName("Save1");
    SaveAs1 = file->addAction("Save as");
    SaveAs1->setObjectName("SaveAs1");
    Exit1 = file->addAction("Exit");
    Exit1->setObjectName("Exit1");
}

TTables_Form::~TTables_Form() {
    workspace_.setVelocityScaler({});
}

void TTables_Form::connectHandlers() {
    connect(LoadButton, &QToolButton::clicked, this, [this] { Load1Click(); });
    connect(SaveButton, &QToolButton::clicked, this, [this] { Save1Click(); });
    connect(Load1, &QAction::triggered, this, [this] { Load1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(SaveAs1, &QAction::triggered, this, [this] { SaveAs1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(ClearButton, &QToolButton::clicked, this, [this] { ClearButtonClick(); });
    connect(LogsRefreshButton, &QToolButton::clicked, this, [this] { LogsRefreshButtonClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SyntheticRefreshButton, &QToolButton::clicked, this,
            [this] { SyntheticRefreshButtonClick(); });
    connect(TraceRefreshButton, &QToolButton::clicked, this, [this] { TraceRefreshButtonClick(); });
    connect(loggrid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        grid_.setCell(item->row() + 1, item->column(), item->text().toStdString());
    });
    // The tie's "Apply" scales the log held here.
    workspace_.setVelocityScaler([this](double factor) { scaleLogVelocities(factor); });
    // The synthetic listing follows each new "ampl.dat" the engine writes.
    connect(&workspace_, &Workspace::synthComputed, this,
            [this] { guarded(services_.errors, [this] { reloadSyntheticListing(); }); });
}

std::filesystem::path TTables_Form::workFile(std::string_view name) const {
    return services_.workDir.file(name);
}

std::filesystem::path TTables_Form::chosenPath(const QString& name) const {
    return std::filesystem::path(name.toStdString());
}

// The grid's text into the table: only cells whose text differs are touched,
// so a long log shown again costs little.
void TTables_Form::showLogGrid() {
    const QSignalBlocker blocker(loggrid);
    const int rows = grid_.rowCount() - 1;
    if (loggrid->rowCount() != rows) {
        loggrid->setRowCount(rows);
    }
    for (int column = 0; column < LogGridColumns; ++column) {
        const QString heading = QString::fromStdString(grid_.cell(0, column));
        if (QTableWidgetItem* item = loggrid->horizontalHeaderItem(column)) {
            item->setText(heading);
        } else {
            loggrid->setHorizontalHeaderItem(column, new QTableWidgetItem(heading));
        }
    }
    for (int row = 1; row <= rows; ++row) {
        for (int column = 0; column < LogGridColumns; ++column) {
            const std::string& text = grid_.cell(row, column);
            QTableWidgetItem* item = loggrid->item(row - 1, column);
            if (item == nullptr) {
                if (!text.empty()) {
                    loggrid->setItem(row - 1, column,
                                     new QTableWidgetItem(QString::fromStdString(text)));
                }
            } else if (item->text().toStdString() != text) {
                item->setText(QString::fromStdString(text));
            }
        }
    }
}

// A cell still being typed into belongs to the grid before it is saved.
void TTables_Form::commitPendingEdit() {
    // Moving the current cell away and back makes the view commit an open
    // editor's text.
    const QModelIndex current = loggrid->currentIndex();
    if (!current.isValid()) {
        return;
    }
    loggrid->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    loggrid->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

std::string TTables_Form::saveLogText() {
    commitPendingEdit();
    return quarvel::SaveLog(grid_);
}

void TTables_Form::LoadLog(const std::filesystem::path& fileName) {
    const LogFile records = readLogFileRecords(readLogText(fileName), fileName.string());
    commitPendingEdit();
    const LoadLogResult result = quarvel::LoadLog(grid_, records);
    showLogGrid();
    tellAboutLoad(result, fileName);
}

void TTables_Form::SaveLog(const std::filesystem::path& fileName) {
    writeTextFile(fileName, saveLogText());
}

void TTables_Form::ClearLog() {
    commitPendingEdit();
    quarvel::ClearLog(grid_);
    showLogGrid();
}

void TTables_Form::tellAboutLoad(const LoadLogResult& result,
                                 const std::filesystem::path& fileName) {
    for (const std::string& notice : loadLogNotices(result, fileName.string())) {
        services_.dialogs.showMessage(QString::fromStdString(notice));
    }
}

void TTables_Form::loadLogPage(const std::filesystem::path& fileName) {
    // The file is read and converted whole first, so one that cannot be read
    // leaves the grid, log.dat and the panels as they were; cancelling the
    // questions of a LAS or MSCL file changes nothing either.
    // A session reopened answers from the choices it recorded; every answer
    // is kept with the workspace for the next session saved.
    DialogLogQuestions asked(services_.dialogs);
    RecordedLogQuestions questions(asked, workspace_.takeLogImportAnswers());
    const auto imported = importLogFile(fileName, questions);
    if (!imported) {
        return;
    }
    // The new grid and its log.dat are made and checked aside; only when
    // both are sound does either replace what the user has.
    commitPendingEdit();
    LogGrid loaded = grid_;
    quarvel::ClearLog(loaded);
    quarvel::LoadLog(loaded, imported->gridText, fileName.string());
    const std::string logDat = quarvel::SaveLog(loaded);
    writeTextFile(workFile("log.dat"), logDat);
    grid_ = std::move(loaded);
    showLogGrid();
    for (const std::string& notice : imported->notices) {
        services_.dialogs.showMessage(QString::fromStdString(notice));
    }
    workspace_.setLogImportChoices(questions.choices());
    workspace_.logLoaded();
}

void TTables_Form::redrawLogs() {
    workspace_.refreshLog();
}

// As if the user had typed the scaled values and pressed Refresh; a grid
// log.dat cannot be made from stays as it was.
void TTables_Form::scaleLogVelocities(double factor) {
    commitPendingEdit();
    LogGrid scaled = grid_;
    scaleVelocities(scaled, factor);
    writeTextFile(workFile("log.dat"), quarvel::SaveLog(scaled));
    grid_ = std::move(scaled);
    showLogGrid();
    redrawLogs();
}

void TTables_Form::Exit1Click() {
    guarded(services_.errors, [this] { hide(); });
}

void TTables_Form::ClearButtonClick() {
    guarded(services_.errors, [this] { ClearLog(); });
}

void TTables_Form::LogsRefreshButtonClick() {
    guarded(services_.errors, [this] {
        SaveLog(workFile("log.dat"));
        redrawLogs();
    });
}

void TTables_Form::SpeedButton1Click() {
    guarded(services_.errors, [this] {
        const std::filesystem::path logDat = workFile("log.dat");
        std::error_code ec;
        if (!std::filesystem::exists(logDat, ec)) {
            services_.dialogs.showMessage(
                "There is no working log file \"log.dat\" to interpolate yet. Load a log, or "
                "save the grid with Save or Refresh Graph, first.");
            return;
        }
        writeTextFile(logDat, interpolateLogText(readTextFile(logDat)));
        LoadLog(logDat);
    });
}

} // namespace quarvel
