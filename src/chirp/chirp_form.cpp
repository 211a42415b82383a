#include "chirp/chirp_form.h"

#include "chirp/chirp_source.h"
#include "chirp/signal_file.h"
#include "document/workspace.h"
#include "formats/numbers.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "platform/window_geometry.h"
#include "plot/chirp_graph.h"

#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolButton>

namespace quarvel {
namespace {

constexpr int BandWidth = 375;
constexpr int GraphHeight = 161;

const FileDialogRequest SignalFileDialog{"", "Chirp Signals|*.SIG", "SIG", "chirp signal"};

QLineEdit* parameterField(QGroupBox* group, const char* name, const std::string& text, int top,
                          const char* label) {
    auto* field = new QLineEdit(QString::fromStdString(text), group);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(8, top, 121, 21);
    auto* caption = new QLabel(QString::fromLatin1(label), group);
    caption->move(136, top + 8);
    return field;
}

void drawGraph(ImagePanel* panel, const std::filesystem::path& file, const QString& caption) {
    const ChirpGraph graph = renderChirpGraph(readChirpGraphValues(file), panel->panelWidth(),
                                              panel->panelHeight(), caption);
    panel->setPicture(graph.image);
}

} // namespace

TChirp_Form::TChirp_Form(Services& services) : services_(services), workspace_(services.workspace) {
    setObjectName("Chirp_Form");
    setWindowTitle("Chirp Signal Processor");
    move(362, 222);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    auto* content = new QWidget;
    content->setFixedSize(BandWidth, 41 + 168 + 2 * GraphHeight);

    Panel1 = new QFrame(content);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(0, 0, BandWidth, 41);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText("GO");
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setGeometry(16, 8, 65, 22);
    Label5 = new QLabel("default parameters", Panel1);
    Label5->setObjectName("Label5");
    Label5->move(120, 16);
    Label5->setMinimumWidth(BandWidth - 120);

    buildParameterEditor(content);

    Grafico_Source0 = new ImagePanel("Grafico_Source0", BandWidth, GraphHeight, content);
    Grafico_Source0->move(0, 41 + 168);
    Grafico_source1 = new ImagePanel("Grafico_source1", BandWidth, GraphHeight, content);
    Grafico_source1->move(0, 41 + 168 + GraphHeight);
    ScrollBox1->setWidget(content);
    setCentralWidget(ScrollBox1);

    statusBar()->setObjectName("StatusBar1");
    StatusPanel = new QLabel(statusBar());
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setMinimumWidth(50);
    statusBar()->addWidget(StatusPanel);

    QMenu* file = menuBar()->addMenu("&File");
    Load1 = file->addAction("&Load");
    Load1->setObjectName("Load1");
    Save1 = file->addAction("&Save");
    Save1->setObjectName("Save1");
    Exit1 = file->addAction("E&xit");
    Exit1->setObjectName("Exit1");
    // The scroll box and the status bar fill 379 x 559 below the menu bar.
    setClientSize(*this, {379, 559});

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(Grafico_Source0, &ImagePanel::mouseMoved, this,
            [this](int x, int) { Grafico_Source0MouseMove(x); });
    connect(Grafico_source1, &ImagePanel::mouseMoved, this,
            [this](int x, int) { Grafico_source1MouseMove(x); });
    connect(Load1, &QAction::triggered, this, [this] { Load1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });

    // Whatever is typed is the workspace's chirp setting at once.
    for (QLineEdit* field : {peredit, stfreqedit, edfreqedit, samedit}) {
        connect(field, &QLineEdit::textChanged, this, [this] {
            workspace_.chirp().setTexts(
                {peredit->text().toStdString(), stfreqedit->text().toStdString(),
                 edfreqedit->text().toStdString(), samedit->text().toStdString()});
        });
    }
    connect(&workspace_.chirp(), &ChirpModel::textsChanged, this, [this] { showChirpTexts(); });
    connect(&workspace_.chirp(), &ChirpModel::waveletChanged, this,
            [this] { guarded(services_.errors, [this] { DRAW_SOURCE(); }); });
}

void TChirp_Form::buildParameterEditor(QWidget* content) {
    GroupBox1 = new QGroupBox("Parameter Editor", content);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(0, 41, BandWidth, 168);
    const ChirpTexts& shown = workspace_.chirp().texts();
    peredit = parameterField(GroupBox1, "peredit", shown.width, 24, "Signal Width  (seconds)");
    stfreqedit = parameterField(GroupBox1, "stfreqedit", shown.start, 56, "Start Frequency (Hz)");
    edfreqedit = parameterField(GroupBox1, "edfreqedit", shown.end, 88, "End Frequency (Hz)");
    samedit =
        parameterField(GroupBox1, "samedit", shown.interval, 120, "Sampling Interval (seconds)");
    setTabOrder(peredit, stfreqedit);
    setTabOrder(stfreqedit, edfreqedit);
    setTabOrder(edfreqedit, samedit);
}

void TChirp_Form::showChirpTexts() {
    const ChirpTexts& texts = workspace_.chirp().texts();
    const std::pair<QLineEdit*, const std::string*> fields[] = {{peredit, &texts.width},
                                                                {stfreqedit, &texts.start},
                                                                {edfreqedit, &texts.end},
                                                                {samedit, &texts.interval}};
    for (const auto& [field, text] : fields) {
        const QString shown = QString::fromStdString(*text);
        if (field->text() != shown) {
            // The other fields still show the old texts: one field's change
            // must not hand them back to the workspace.
            const QSignalBlocker blocker(field);
            field->setText(shown);
        }
    }
}

// A parameter set the sweep cannot be made from is refused by the chirp source
// before it touches a file, so the graphs and files stay as they were.
void TChirp_Form::SpeedButton1Click() {
    guarded(services_.errors, [this] { workspace_.chirp().makeWavelet(); });
}

void TChirp_Form::DRAW_SOURCE() {
    drawGraph(Grafico_Source0, services_.workDir.file("klauder.dat"), "Klauder.dat");
    drawGraph(Grafico_source1, services_.workDir.file("chirp.dat"), "Chirp.dat");
}

double TChirp_Form::CALC_TIME(int X) const {
    return workspace_.chirp().CALC_TIME(X, Grafico_Source0->panelWidth());
}

void TChirp_Form::showTime(int x) {
    guarded(services_.errors, [this, x] {
        StatusPanel->setText(
            QString::fromStdString(" t:" + numbers::formatF5(CALC_TIME(x)) + " sec."));
    });
}

void TChirp_Form::Grafico_Source0MouseMove(int x) {
    showTime(x);
}

void TChirp_Form::Grafico_source1MouseMove(int x) {
    showTime(x);
}

// The four texts go out as they stand, one per line, each in the encoding its
// line was loaded in; a file that cannot be written is reported rather than
// silently missing.
void TChirp_Form::Save1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> name = services_.dialogs.saveFile(SignalFileDialog);
        if (!name || name->isEmpty()) {
            return;
        }
        writeSignalFile(name->toStdString(), {workspace_.chirp().texts(), signalLineLatin1_});
    });
}

// Each line becomes a field's text as it stands; missing lines at the end
// leave their fields empty. A file that cannot be read, or that is no text
// file at all, is reported and the fields keep their texts.
void TChirp_Form::Load1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> name = services_.dialogs.openFile(SignalFileDialog);
        if (!name || name->isEmpty()) {
            return;
        }
        const SignalFile file = readSignalFile(name->toStdString());
        signalLineLatin1_ = file.latin1;
        workspace_.chirp().setTexts(file.texts);
        Label5->setText(QFileInfo(*name).fileName());
    });
}

void TChirp_Form::Exit1Click() {
    guarded(services_.errors, [this] { close(); });
}

} // namespace quarvel
