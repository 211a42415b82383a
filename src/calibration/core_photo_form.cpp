#include "calibration/core_photo_form.h"

#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "workspace/main_form.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <array>
#include <filesystem>
#include <optional>

namespace quarvel {

namespace {

constexpr int WindowWidth = 228;
constexpr int WindowHeight = 529;
constexpr int GroupHeight = 57;

FileDialogRequest boundaryDialog(const char* title) {
    return {QString::fromLatin1(title), QStringLiteral("BND Files|*.BND"), QStringLiteral("bnd")};
}

std::filesystem::path toPath(const QString& name) {
    return {name.toStdString()};
}

} // namespace

TCore_Photo_Form::TCore_Photo_Form(Services& services) : services_(services) {
    setObjectName("Core_Photo_Form");
    setWindowTitle("Core Photo Parameters");

    auto* area = new QWidget(this);
    area->setObjectName("FieldArea");
    area->setFixedSize(WindowWidth, GroupHeight * static_cast<int>(Boundaries::FieldCount));
    setCentralWidget(area);
    const Boundaries defaults;
    Top = addField(area, 0, "Top", "Top (mm)", defaults.Top.c_str());
    Bottom = addField(area, 1, "Bottom", "Bottom (mm)", defaults.Bottom.c_str());
    Left = addField(area, 2, "Left", "Left (mm)", defaults.Left.c_str());
    Right = addField(area, 3, "Right", "Right (mm)", defaults.Right.c_str());
    xmin = addField(area, 4, "xmin", "X min (pixels)", defaults.xmin.c_str());
    xmax = addField(area, 5, "xmax", "X max (pixels)", defaults.xmax.c_str());
    ymin = addField(area, 6, "ymin", "Y min (pixels)", defaults.ymin.c_str());
    ymax = addField(area, 7, "ymax", "Y max (pixels)", defaults.ymax.c_str());

    // One message panel; it stretches so a boundary file's whole path shows.
    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setMinimumWidth(50);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusPanel, 1);

    buildMenu();
    resize(WindowWidth, WindowHeight);
}

QLineEdit* TCore_Photo_Form::addField(QWidget* area, int order, const char* name,
                                      const char* caption, const char* text) {
    auto* box = new QGroupBox(QString::fromLatin1(caption), area);
    box->setObjectName(QStringLiteral("GroupBox%1").arg(order + 1));
    box->setGeometry(0, order * GroupHeight, WindowWidth, GroupHeight);
    auto* edit = new QLineEdit(QString::fromLatin1(text), box);
    edit->setObjectName(name);
    edit->setGeometry(16, 24, 121, edit->sizeHint().height());
    return edit;
}

void TCore_Photo_Form::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName("File1");
    auto item = [this, file](const char* name, const char* caption) {
        QAction* action = file->addAction(QString::fromLatin1(caption));
        action->setObjectName(name);
        return action;
    };
    LoadBoundaries1 = item("LoadBoundaries1", "Load BND");
    SaveBoundaries1 = item("SaveBoundaries1", "Save BND");
    Exit1 = item("Exit1", "Exit");
    connect(LoadBoundaries1, &QAction::triggered, this, [this] { LoadBoundaries1Click(); });
    connect(SaveBoundaries1, &QAction::triggered, this, [this] { SaveBoundaries1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
}

Boundaries TCore_Photo_Form::boundaries() const {
    std::array<std::string, Boundaries::FieldCount> texts;
    const std::array<const QLineEdit*, Boundaries::FieldCount> fields = {Top,  Bottom, Left, Right,
                                                                         xmin, xmax,   ymin, ymax};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = fields[i]->text().toStdString();
    }
    return Boundaries::fromTexts(texts);
}

void TCore_Photo_Form::setBoundaries(const Boundaries& boundaries) {
    const std::array<QLineEdit*, Boundaries::FieldCount> fields = {Top,  Bottom, Left, Right,
                                                                   xmin, xmax,   ymin, ymax};
    const auto texts = boundaries.texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        fields[i]->setText(QString::fromStdString(texts[i]));
    }
}

void TCore_Photo_Form::UpdateBoundaries() {
    TMainForm* main = services_.forms.MainForm;
    const std::string& bndFileName = main->ws.BndFileName;
    if (boundaryFileExists(bndFileName)) {
        setBoundaries(readBoundaryFile(bndFileName));
        StatusPanel->setText(QStringLiteral("BND File :") + QString::fromStdString(bndFileName));
        close();
        return;
    }
    // No calibration yet: the whole core panel, to be corrected by hand.
    xmin->setText(QStringLiteral("1"));
    xmax->setText(QString::number(main->core_image->panelWidth()));
    ymin->setText(QStringLiteral("1"));
    ymax->setText(QString::number(main->core_image->panelHeight()));
    StatusPanel->setText(QStringLiteral("BND File not found "));
}

void TCore_Photo_Form::LoadBoundaries1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> chosen =
            services_.dialogs.openFile(boundaryDialog("Load BND"));
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        setBoundaries(readBoundaryFile(toPath(*chosen)));
        close();
    });
}

void TCore_Photo_Form::SaveBoundaries1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> chosen =
            services_.dialogs.saveFile(boundaryDialog("Save BND"));
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        writeBoundaryFile(toPath(*chosen), boundaries());
        // Only a file actually written becomes the current boundary file.
        services_.forms.MainForm->ws.BndFileName = chosen->toStdString();
        StatusPanel->setText(QStringLiteral("BND File :") + *chosen);
    });
}

void TCore_Photo_Form::Exit1Click() {
    guarded(services_.errors, [this] { close(); });
}

} // namespace quarvel
