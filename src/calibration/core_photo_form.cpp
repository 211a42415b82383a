#include "calibration/core_photo_form.h"

#include "document/workspace.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalBlocker>
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
    return {QString::fromLatin1(title), QStringLiteral("BND Files|*.BND"), QStringLiteral("bnd"),
            QStringLiteral("boundary file")};
}

std::filesystem::path toPath(const QString& name) {
    return {name.toStdString()};
}

} // namespace

TCore_Photo_Form::TCore_Photo_Form(Services& services)
    : services_(services), workspace_(services.workspace) {
    setObjectName("Core_Photo_Form");
    setWindowTitle("Core Photo Parameters");

    auto* area = new QWidget(this);
    area->setObjectName("FieldArea");
    area->setFixedSize(WindowWidth, GroupHeight * static_cast<int>(Boundaries::FieldCount));
    setCentralWidget(area);
    const Boundaries& shown = workspace_.calibration().boundaries();
    Top = addField(area, 0, "Top", "Top (mm)", shown.Top.c_str());
    Bottom = addField(area, 1, "Bottom", "Bottom (mm)", shown.Bottom.c_str());
    Left = addField(area, 2, "Left", "Left (mm)", shown.Left.c_str());
    Right = addField(area, 3, "Right", "Right (mm)", shown.Right.c_str());
    xmin = addField(area, 4, "xmin", "X min (pixels)", shown.xmin.c_str());
    xmax = addField(area, 5, "xmax", "X max (pixels)", shown.xmax.c_str());
    ymin = addField(area, 6, "ymin", "Y min (pixels)", shown.ymin.c_str());
    ymax = addField(area, 7, "ymax", "Y max (pixels)", shown.ymax.c_str());

    // One message panel; it stretches so a boundary file's whole path shows.
    StatusPanel = new QLabel(this);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setMinimumWidth(50);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusPanel, 1);

    buildMenu();
    resize(WindowWidth, WindowHeight);

    // Whatever is typed is the workspace's calibration at once.
    for (QLineEdit* field : {Top, Bottom, Left, Right, xmin, xmax, ymin, ymax}) {
        connect(field, &QLineEdit::textChanged, this,
                [this] { workspace_.calibration().setBoundaries(boundaries()); });
    }
    connect(&workspace_.calibration(), &CalibrationModel::changed, this,
            [this] { showCalibration(); });
    connect(&workspace_.calibration(), &CalibrationModel::statusChanged, this,
            [this] { StatusPanel->setText(workspace_.calibration().status()); });
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
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName("File1");
    auto item = [this, file](const char* name, const char* caption) {
        QAction* action = file->addAction(QString::fromLatin1(caption));
        action->setObjectName(name);
        return action;
    };
    LoadBoundaries1 = item("LoadBoundaries1", "&Load BND");
    SaveBoundaries1 = item("SaveBoundaries1", "&Save BND");
    Exit1 = item("Exit1", "E&xit");
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
    workspace_.calibration().setBoundaries(boundaries);
}

void TCore_Photo_Form::showCalibration() {
    const std::array<QLineEdit*, Boundaries::FieldCount> fields = {Top,  Bottom, Left, Right,
                                                                   xmin, xmax,   ymin, ymax};
    const auto texts = workspace_.calibration().boundaries().texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QString text = QString::fromStdString(texts[i]);
        if (fields[i]->text() != text) {
            // The other fields still show the old texts: one field's change
            // must not hand them back to the workspace.
            const QSignalBlocker blocker(fields[i]);
            fields[i]->setText(text);
        }
    }
}

void TCore_Photo_Form::LoadBoundaries1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> chosen =
            services_.dialogs.openFile(boundaryDialog("Load BND"));
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        workspace_.calibration().load(toPath(*chosen));
        // Fields that cannot be used have been named; they are corrected here.
        if (workspace_.calibration().usable()) {
            close();
        }
    });
}

void TCore_Photo_Form::SaveBoundaries1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> chosen =
            services_.dialogs.saveFile(boundaryDialog("Save BND"));
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        workspace_.calibration().save(toPath(*chosen));
    });
}

void TCore_Photo_Form::Exit1Click() {
    guarded(services_.errors, [this] { close(); });
}

} // namespace quarvel
