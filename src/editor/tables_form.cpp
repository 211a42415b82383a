#include "editor/tables_form.h"

#include "document/log_model.h"
#include "document/log_table_model.h"
#include "document/workspace.h"
#include "editor/dialog_log_questions.h"
#include "editor/log_grid.h"
#include "editor/segy_trace_form.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/window_geometry.h"
#include "survey/log_import_choices.h"

#include <QAction>
#include <QColor>
#include <QFont>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
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

    loggrid = new QTableView;
    loggrid->setObjectName("loggrid");
    loggrid->setModel(new LogTableModel(workspace_.log(), loggrid));
    // The three columns share the width, so none hides behind a scroll bar.
    loggrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    loggrid->verticalHeader()->setMinimumSectionSize(15);
    loggrid->verticalHeader()->setDefaultSectionSize(15);
    loggrid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    loggrid->setShowGrid(true);
    loggrid->installEventFilter(this);
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
    QMenu* file = menuBar()->addMenu("&File");
    Load1 = file->addAction("&Load");
    Load1->setObjectName("Load1");
    Save1 = file->addAction("&Save");
    Save1->setObjectName("Save1");
    SaveAs1 = file->addAction("Save &as");
    SaveAs1->setObjectName("SaveAs1");
    Exit1 = file->addAction("E&xit");
    Exit1->setObjectName("Exit1");
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
    connect(&workspace_.series(), &SeriesModel::traceSourceChanged, this,
            [this] { showTraceListing(); });
    // The synthetic listing follows each new "ampl.dat" the engine writes.
    connect(&workspace_, &Workspace::synthComputed, this,
            [this] { guarded(services_.errors, [this] { reloadSyntheticListing(); }); });
    // The section's inset shows the synthetic where the latest tie puts it.
    const auto tied = [this] {
        guarded(services_.errors, [this] {
            SegyForm->setSynthetic(workspace_.tie().tiedSynthetic(),
                                   workspace_.series().traceSource().segyZeroMs);
        });
    };
    for (const auto signal : {&SeriesModel::synthChanged, &SeriesModel::traceChanged}) {
        connect(&workspace_.series(), signal, this, tied);
    }
    connect(&workspace_.tie().tieTask(), &TaskRunner::finished, this, tied);
    connect(&workspace_.tie(), &TieModel::depthVaryingChanged, this, tied);
}

std::filesystem::path TTables_Form::workFile(std::string_view name) const {
    return services_.workDir.file(name);
}

std::filesystem::path TTables_Form::chosenPath(const QString& name) const {
    return std::filesystem::path(name.toStdString());
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

void TTables_Form::tell(const std::vector<std::string>& notices) {
    // What a load or an interpolation tells is what was changed or left out.
    for (const std::string& notice : notices) {
        services_.dialogs.showWarning(QString::fromStdString(notice));
    }
}

void TTables_Form::loadLogPage(const std::filesystem::path& fileName) {
    // Every answer is kept with the workspace for the next session saved.
    DialogLogQuestions asked(services_.dialogs, fileName.filename().string());
    RecordedLogQuestions questions(asked);
    commitPendingEdit();
    const auto clearJoining = [this](int firstRow, int rows) {
        return services_.dialogs.askYesNo(
            QString("Row %1 below the loaded log holds a depth, so the log would run on into it "
                    "(%2 %3). Clear %4 so that the log ends where the file does?")
                .arg(firstRow)
                .arg(rows)
                .arg(rows == 1 ? "row" : "rows")
                .arg(rows == 1 ? "that row" : "those rows"));
    };
    const auto notices = workspace_.log().load(fileName, questions, clearJoining);
    if (!notices) {
        return;
    }
    tell(*notices);
    workspace_.setLogImportChoices(questions.choices());
}

void TTables_Form::Exit1Click() {
    guarded(services_.errors, [this] { hide(); });
}

void TTables_Form::ClearButtonClick() {
    guarded(services_.errors, [this] {
        commitPendingEdit();
        workspace_.log().clear();
    });
}

// Delete and Backspace on the grid (not in a cell being typed into) empty
// the cells selected, each through the grid's model as if typed empty.
bool TTables_Form::eventFilter(QObject* watched, QEvent* event) {
    if (watched != loggrid || event->type() != QEvent::KeyPress) {
        return QMainWindow::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Delete && key != Qt::Key_Backspace) {
        return false;
    }
    guarded(services_.errors, [this] {
        for (const QModelIndex& index : loggrid->selectionModel()->selectedIndexes()) {
            loggrid->model()->setData(index, QString());
        }
    });
    return true;
}

void TTables_Form::LogsRefreshButtonClick() {
    guarded(services_.errors, [this] {
        commitPendingEdit();
        workspace_.log().save();
    });
}

void TTables_Form::SpeedButton1Click() {
    guarded(services_.errors, [this] {
        if (!workspace_.log().hasLogFile()) {
            services_.dialogs.showWarning(
                "There is no working log file \"log.dat\" to interpolate yet. Load a log, or "
                "save the grid with Save or Refresh Graph, first.");
            return;
        }
        commitPendingEdit();
        tell(workspace_.log().interpolate());
    });
}

} // namespace quarvel
