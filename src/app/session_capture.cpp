#include "app/session_capture.h"

#include "app/application.h"
#include "calibration/boundaries.h"
#include "document/workspace.h"
#include "editor/segy_trace_form.h"
#include "editor/tables_form.h"
#include "main_window/main_form.h"
#include "plot/graph_form.h"
#include "plot/scale_forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace quarvel {

namespace {

// The texts of a window's named fields, as replaySession sets them.
QMap<QString, QString> fieldTexts(const QWidget* window, const QStringList& names) {
    QMap<QString, QString> texts;
    for (const QString& name : names) {
        const QWidget* field = window->findChild<QWidget*>(name);
        if (const auto* edit = qobject_cast<const QLineEdit*>(field)) {
            texts.insert(name, edit->text());
        } else if (const auto* spin = qobject_cast<const QSpinBox*>(field)) {
            texts.insert(name, QString::number(spin->value()));
        } else if (const auto* box = qobject_cast<const QCheckBox*>(field)) {
            texts.insert(name, box->isChecked() ? QStringLiteral("true") : QStringLiteral("false"));
        } else if (const auto* combo = qobject_cast<const QComboBox*>(field)) {
            texts.insert(name, combo->currentText());
        }
    }
    return texts;
}

} // namespace

std::optional<QString> RecordingDialogs::openFile(const FileDialogRequest& request) {
    std::optional<QString> answer = answers_.openFile(request);
    lastOpened_ = answer.value_or(QString());
    return answer;
}

std::optional<QString> RecordingDialogs::saveFile(const FileDialogRequest& request) {
    return answers_.saveFile(request);
}

std::optional<QFont> RecordingDialogs::chooseFont(const QFont& current) {
    return answers_.chooseFont(current);
}

std::optional<int> RecordingDialogs::chooseItem(const QString& title, const QString& label,
                                                const QStringList& items, int current) {
    return answers_.chooseItem(title, label, items, current);
}

void RecordingDialogs::showMessage(const QString& text) {
    answers_.showMessage(text);
}

void RecordingDialogs::showWarning(const QString& text) {
    answers_.showWarning(text);
}

void RecordingDialogs::showError(const QString& text) {
    answers_.showError(text);
}

bool RecordingDialogs::askYesNo(const QString& question) {
    return answers_.askYesNo(question);
}

SessionTracker::SessionTracker(AppWindows& windows, const RecordingDialogs& dialogs)
    : windows_(windows), dialogs_(dialogs) {
    const AppForms& forms = windows.forms();
    TTables_Form* tables = forms.Tables_Form;
    // Connected after the windows' own handlers, so these run once the
    // command has finished.
    connect(tables->loadButton(), &QToolButton::clicked, this, [this] { logOrTraceLoaded(); });
    connect(tables->interpolateButton(), &QToolButton::clicked, this,
            [this] { tracked_.interpolated = true; });
    connect(tables->segyForm(), &SegyTraceForm::loadPressed, this, [this] {
        tracked_.segyFields = fieldTexts(windows_.forms().Tables_Form->segyForm(),
                                         {"ChoiceBox", "NumberEdit", "NearXEdit", "NearYEdit",
                                          "ChannelBox", "StackSpin", "IntervalEdit", "SeaFloorBox",
                                          "SeaFloorEdit", "LengthBox", "LengthEdit"});
    });
    Workspace& workspace = windows.workspace();
    connect(&workspace, &Workspace::waveletChanged, this, [this] { tracked_.chirpGo = true; });
    connect(&workspace, &Workspace::synthComputed, this, [this] { tracked_.synthetic = true; });
}

void SessionTracker::logOrTraceLoaded() {
    const QString& opened = dialogs_.lastOpened();
    if (opened.isEmpty()) {
        return;
    }
    const TTables_Form::Page page = windows_.forms().Tables_Form->currentPage();
    if (page == TTables_Form::LogsPage) {
        tracked_.log = opened;
        tracked_.interpolated = false;
    } else if (page == TTables_Form::TracePage) {
        tracked_.trace = opened;
        tracked_.segyFields.clear();
    }
}

Session SessionTracker::session() const {
    const AppForms& forms = windows_.forms();
    const Workspace& workspace = windows_.workspace();
    const WorkspaceState& state = workspace.state();
    Session session = tracked_;
    // A log given up since (a session opened without its log) is not saved.
    if (state.NoLogLoaded) {
        session.log.clear();
        session.interpolated = false;
    }
    session.photograph = QString::fromStdString(state.ImageFileName);
    session.boundaries.clear();
    session.calibration.clear();
    if (!state.ImageFileName.empty()) {
        if (boundaryFileExists(state.BndFileName)) {
            session.boundaries = QString::fromStdString(state.BndFileName);
        }
        // The texts as they stand: typed corrections after the boundary file
        // was read are kept as well.
        for (const std::string& text : workspace.calibration().texts()) {
            session.calibration.append(QString::fromStdString(text));
        }
    }
    const ChirpTexts& chirp = workspace.chirpTexts();
    session.chirpTexts = {QString::fromStdString(chirp.width), QString::fromStdString(chirp.start),
                          QString::fromStdString(chirp.end),
                          QString::fromStdString(chirp.interval)};
    session.fields = {
        {"VelScaleForm", fieldTexts(forms.VelScaleForm, {"Autovel", "MinVel", "Maxvel"})},
        {"DensityScaleForm",
         fieldTexts(forms.DensityScaleForm, {"autodens", "MinDens", "MaxDens"})},
        {"GraphForm", fieldTexts(forms.GraphForm, {"Edit1", "Edit2", "Edit3", "Edit4"})},
    };
    const TMainForm* main = forms.MainForm;
    session.annotationFont = workspace.annotationFont().toString();
    for (const QCheckBox* box : main->panelBoxes()) {
        session.checkBoxes.insert(box->objectName(), box->isChecked());
    }
    session.correlator = main->correlatorBox()->isChecked();
    session.fitCore = main->fitCoreItem()->isChecked();
    session.seaFloorTimeZero = workspace.timeZero() == MathFun::TimeZero::SeaFloor;
    session.antiAliased = workspace.antiAliased();
    session.logImport = session.log.isEmpty() ? LogImportChoices{} : workspace.logImportChoices();
    for (const tie::TiePoint& point : workspace.tiePoints()) {
        session.tiePoints.append(
            {point.row, QString::fromStdString(point.depthText), point.estTwt, point.traceTwt});
    }
    return session;
}

} // namespace quarvel
