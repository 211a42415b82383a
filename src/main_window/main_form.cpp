#include "main_window/main_form.h"

#include "document/workspace.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/plot_marks.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace quarvel {

namespace {

// The window's layout is made for an outer size of 747 x 716 with a frame of
// 4 pixels on every side and a 19-pixel caption; Qt sizes the client area, so
// the window asks for that outer size less the frame and caption.
constexpr int FrameWidth = 4;
constexpr int CaptionHeight = 19;
constexpr QRect OuterGeometry(112, 74, 747, 716);

// The panels sit at fixed columns inside the scroll box; their heights
// follow the photograph, so the scrolled area grows and shrinks with them.
class PanelArea : public QWidget {
public:
    explicit PanelArea(QWidget* parent) : QWidget(parent) {}

    void watch(QWidget* panel) {
        panel->installEventFilter(this);
        fit();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            fit();
        return QWidget::eventFilter(watched, event);
    }

private:
    void fit() {
        QRect bounds;
        for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isHidden())
                bounds = bounds.united(child->geometry());
        setFixedSize(bounds.right() + 1, bounds.bottom() + 1);
    }
};

QToolButton* speedButton(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setGeometry(geometry);
    return button;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QLineEdit* readOut(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    edit->setFrame(false);
    edit->setReadOnly(true);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(0xc8, 0xc8, 0xc8)); // the scroll-bar grey
    edit->setPalette(palette);
    return edit;
}

QAction* menuItem(QWidget* owner, QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    menu->addAction(action);
    return action;
}

} // namespace

TMainForm::TMainForm(Services& services) : services_(services), workspace_(services.workspace) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Quarvel v1.0"));
    setFont(layoutFont());

    move(OuterGeometry.topLeft());
    resize(OuterGeometry.width() - 2 * FrameWidth,
           OuterGeometry.height() - 2 * FrameWidth - CaptionHeight);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    buildToolBar();
    buildSelectionBar();
    buildPanels();
    column->addWidget(Panel1);
    column->addWidget(Panel2);
    column->addWidget(ScrollBox4, 1);
    buildStatusBar();
    buildMenus();
    connectHandlers();
    connectWorkspace();
}

TMainForm::~TMainForm() = default;

void TMainForm::buildToolBar() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    SpeedButton1 =
        speedButton(Panel1, "SpeedButton1", QStringLiteral("Calc. Synthetic"), QRect(8, 8, 89, 25));
    SpeedButton2 =
        speedButton(Panel1, "SpeedButton2", QStringLiteral("Final Plot"), QRect(104, 8, 89, 25));
    correlator =
        checkBox(Panel1, "correlator", QStringLiteral("Correlator"), QRect(216, 12, 73, 17));
    SpeedButton3 =
        speedButton(Panel1, "SpeedButton3", QStringLiteral("Core"), QRect(304, 8, 49, 22));
    SpeedButton4 =
        speedButton(Panel1, "SpeedButton4", QStringLiteral("Data"), QRect(352, 8, 49, 22));
    SpeedButton5 =
        speedButton(Panel1, "SpeedButton5", QStringLiteral("Chirp"), QRect(400, 8, 49, 22));
    SpeedButton3->setToolTip(QStringLiteral("Load Core Image"));
    SpeedButton4->setToolTip(QStringLiteral("Open Data Form"));
    SpeedButton5->setToolTip(QStringLiteral("Open Chirp Parameter Form"));

    SpeedButton1->setEnabled(false);
    SpeedButton2->setEnabled(false);
}

void TMainForm::buildSelectionBar() {
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(24);
    Panel2->setFrameStyle(QFrame::NoFrame);

    Photo = checkBox(Panel2, "Photo", QStringLiteral("Photo"), QRect(8, 4, 97, 17));
    Synth = checkBox(Panel2, "Synth", QStringLiteral("Synth"), QRect(112, 4, 97, 17));
    Trace = checkBox(Panel2, "Trace", QStringLiteral("Trace"), QRect(264, 4, 97, 17));
    Pwave = checkBox(Panel2, "Pwave", QStringLiteral("P-wave vel."), QRect(408, 4, 97, 17));
    Edit2 = readOut(Panel2, "Edit2", QStringLiteral("Inst. Vel."), QRect(488, 3, 73, 19));
    density = checkBox(Panel2, "density", QStringLiteral("Density"), QRect(568, 4, 65, 17));
    Edit3 = readOut(Panel2, "Edit3", QStringLiteral("Inst. Dens."), QRect(640, 3, 73, 19));

    Photo->setChecked(true);
    for (QCheckBox* box : {Photo, Synth, Trace, Pwave, density})
        box->setEnabled(false);
    // The read-outs are laid over the right-hand part of their check boxes.
    Edit2->raise();
    Edit3->raise();
}

void TMainForm::buildPanels() {
    ScrollBox4 = new QScrollArea(this);
    ScrollBox4->setObjectName(QStringLiteral("ScrollBox4"));
    ScrollBox4->setWidgetResizable(false);
    ScrollBox4->verticalScrollBar()->setTracking(true);
    ScrollBox4->verticalScrollBar()->setSingleStep(8);

    auto* area = new PanelArea(ScrollBox4);
    area->setObjectName(QStringLiteral("PanelArea"));
    const auto panel = [area](const char* name, int left, int width) {
        auto* image = new ImagePanel(QLatin1String(name), width, StartPanelHeight, area);
        image->move(left, 0);
        area->watch(image);
        return image;
    };
    core_image = panel("core_image", 0, 103);
    Grafico_sintetico = panel("Grafico_sintetico", 104, 151);
    Grafico_traccia = panel("Grafico_traccia", 256, 151);
    Grafico_velocita = panel("Grafico_velocita", 408, 151);
    grafico_densita = panel("grafico_densita", 560, 151);
    ScrollBox4->setWidget(area);
}

void TMainForm::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(bar);
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(250);
    StatusPanel1 = new QLabel(bar);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setFixedWidth(557);
    bar->addWidget(StatusPanel0);
    bar->addWidget(StatusPanel1);
}

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    LoadCorePhoto1 = menuItem(this, file, "LoadCorePhoto1", QStringLiteral("Load &Core Image"));
    Load1 = menuItem(this, file, "Load1", QStringLiteral("Calc. &Synthetic"));
    SaveToFile1 = menuItem(this, file, "SaveToFile1", QStringLiteral("Create &Final Plot"));
    Exit1 = menuItem(this, file, "Exit1", QStringLiteral("E&xit"));

    QMenu* open = bar->addMenu(QStringLiteral("&Open"));
    open->setObjectName(QStringLiteral("Open1"));
    ables1 = menuItem(this, open, "ables1", QStringLiteral("&Data Form"));
    ChirpParameters1 =
        menuItem(this, open, "ChirpParameters1", QStringLiteral("&Chirp Parameters Form"));

    QMenu* set = bar->addMenu(QStringLiteral("&Set"));
    set->setObjectName(QStringLiteral("Set1"));
    CoreImageBoundaries1 =
        menuItem(this, set, "CoreImageBoundaries1", QStringLiteral("&Core Image Boundaries"));
    // The item names are crossed with their captions: DensityScale1 opens the
    // P-wave scale and VelocityScale1 the density scale.
    DensityScale1 = menuItem(this, set, "DensityScale1", QStringLiteral("&P-wave scale"));
    VelocityScale1 = menuItem(this, set, "VelocityScale1", QStringLiteral("&Density Scale"));
    AnotFont1 = menuItem(this, set, "AnotFont1", QStringLiteral("&Anot. Font"));
    FitCore1 = menuItem(this, set, "FitCore1", QStringLiteral("&Fit Core to Panel"));
    FitCore1->setCheckable(true);
    FitCore1->setChecked(true);

    About1 = new QAction(QStringLiteral("&About"), this);
    About1->setObjectName(QStringLiteral("About1"));
    bar->addAction(About1);

    Load1->setEnabled(false);
    SaveToFile1->setEnabled(false);
    ables1->setEnabled(false);
    buildTieMenus(file, open, set);
}

void TMainForm::connectHandlers() {
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(Load1, &QAction::triggered, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { FinalTableshowClick(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { LoadCorePhoto1Click(); });
    connect(LoadCorePhoto1, &QAction::triggered, this, [this] { LoadCorePhoto1Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { ables1Click(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { ChirpParameters1Click(); });
    connect(SaveToFile1, &QAction::triggered, this, [this] { SaveToFile1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(ables1, &QAction::triggered, this, [this] { ables1Click(); });
    connect(ChirpParameters1, &QAction::triggered, this, [this] { ChirpParameters1Click(); });
    connect(CoreImageBoundaries1, &QAction::triggered, this,
            [this] { CoreImageBoundaries1Click(); });
    connect(DensityScale1, &QAction::triggered, this, [this] { DensityScale1Click(); });
    connect(VelocityScale1, &QAction::triggered, this, [this] { VelocityScale1Click(); });
    connect(AnotFont1, &QAction::triggered, this, [this] { AnotFont1Click(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });

    connect(core_image, &ImagePanel::mouseMoved, this,
            [this](int x, int y) { core_imageMouseMove(x, y); });
    // A double click marks once: its second press would only repeat the
    // mark and keep the same tie point twice.
    connect(core_image, &ImagePanel::mousePressed, this,
            [this](int, int y, Qt::MouseButton, bool secondOfDoubleClick) {
                if (!secondOfDoubleClick)
                    core_imageMouseDown(y);
            });
    connect(core_image, &ImagePanel::mouseReleased, this,
            [this](int, int y, Qt::MouseButton) { core_imageMouseUp(y); });
    connect(Grafico_sintetico, &ImagePanel::mouseMoved, this,
            [this](int x, int y) { Grafico_sinteticoMouseMove(x, y); });
    connect(Grafico_traccia, &ImagePanel::shiftPressed, this,
            [this](int, int y) { Grafico_tracciaShiftDown(y); });
    connect(Grafico_traccia, &ImagePanel::mouseMoved, this,
            [this](int x, int y) { Grafico_tracciaMouseMove(x, y); });
    connect(Grafico_velocita, &ImagePanel::doubleClicked, this,
            [this](int, int) { DensityScale1Click(); });
    connect(grafico_densita, &ImagePanel::doubleClicked, this,
            [this](int, int) { VelocityScale1Click(); });
}

void TMainForm::enableCalcSynthetic() {
    SpeedButton1->setEnabled(true);
    Load1->setEnabled(true);
}

void TMainForm::enableAndCheckTrace() {
    Trace->setEnabled(true);
    Trace->setChecked(true);
}

void TMainForm::SpeedButton3Click() {
    guarded(services_.errors, [this] { workspace_.computeSynthetic(); });
}

void TMainForm::Exit1Click() {
    guarded(services_.errors, [this] { close(); });
}

void TMainForm::ables1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::Tables_Form); });
}

void TMainForm::ChirpParameters1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::Chirp_Form); });
}

void TMainForm::CoreImageBoundaries1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::Core_Photo_Form); });
}

void TMainForm::DensityScale1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::VelScaleForm); });
}

void TMainForm::VelocityScale1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::DensityScaleForm); });
}

void TMainForm::About1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::AboutForm); });
}

void TMainForm::AnotFont1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QFont> chosen =
            services_.dialogs.chooseFont(workspace_.plotSettings().font());
        if (!chosen)
            return;
        // The titles and the marks' labels change at the next drawing.
        workspace_.plotSettings().setFont(*chosen);
    });
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, whatever companions are open.
    event->accept();
    QCoreApplication::quit();
}

} // namespace quarvel
