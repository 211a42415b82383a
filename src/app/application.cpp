#include "app/application.h"

#include "app/about_form.h"
#include "app/demo.h"
#include "app/session_menu.h"
#include "app/window_places.h"
#include "calibration/core_photo_form.h"
#include "calibration/profile_form.h"
#include "chirp/chirp_form.h"
#include "document/workspace.h"
#include "editor/dialog_log_questions.h"
#include "editor/tables_form.h"
#include "formats/quarvel_error.h"
#include "main_window/main_form.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/guarded_application.h"
#include "platform/menu_bar_key.h"
#include "plot/final_table_form.h"
#include "plot/graph_form.h"
#include "plot/scale_forms.h"
#include "tie/tie_form.h"

#include <QEvent>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>
#include <QStringList>
#include <filesystem>
#include <system_error>

namespace quarvel {

template <class Window> Window* AppWindows::create(FormId id) {
    auto window = std::make_unique<Window>(services_);
    window->hide();
    Window* result = window.get();
    registry_.add(id, result);
    order_.push_back(result);
    windows_.push_back(std::move(window));
    return result;
}

AppWindows::AppWindows(Dialogs& dialogs, ErrorReporter& errors, WorkDir workDir)
    : workspace_(workDir), services_{dialogs, errors, workDir, workspace_, registry_} {
    // What the workspace has to tell besides errors (fields of a boundary
    // file that cannot be used, samples left out) goes to the user as a
    // warning, in the order it happens.
    QObject::connect(&workspace_, &Workspace::notice, &workspace_,
                     [&dialogs](const QString& text) { dialogs.showWarning(text); });
    AppForms& forms = forms_;
    forms.MainForm = create<TMainForm>(FormId::MainForm);
    forms.Core_Photo_Form = create<TCore_Photo_Form>(FormId::Core_Photo_Form);
    forms.VelScaleForm = create<TVelScaleForm>(FormId::VelScaleForm);
    forms.DensityScaleForm = create<TDensityScaleForm>(FormId::DensityScaleForm);
    forms.Profile_Form = create<TProfile_Form>(FormId::Profile_Form);
    forms.Tables_Form = create<TTables_Form>(FormId::Tables_Form);
    forms.Chirp_Form = create<TChirp_Form>(FormId::Chirp_Form);
    forms.FinalTableForm = create<TFinalTableForm>(FormId::FinalTableForm);
    forms.GraphForm = create<TGraphForm>(FormId::GraphForm);
    forms.TieForm = create<TTieForm>(FormId::TieForm);
    auto about = std::make_unique<TAboutForm>();
    about->hide();
    forms.AboutForm = about.get();
    registry_.add(FormId::AboutForm, about.get());
    order_.push_back(about.get());
    windows_.push_back(std::move(about));
    for (QWidget* window : order_) {
        if (auto* withMenus = qobject_cast<QMainWindow*>(window)) {
            openMenuBarOnF10(*withMenus);
        }
    }
}

AppWindows::~AppWindows() {
    // The companions go before the main window, the windows before the
    // workspace they show.
    while (!windows_.empty())
        windows_.pop_back();
}

void AppWindows::showMainWindow() {
    registry_.showAndRaise(FormId::MainForm);
}

namespace {

// Reads the working file again into the document, when the windows show it.
bool reloadIfShown(Workspace& workspace, const WorkDir& workDir, std::string_view name,
                   Dialogs& dialogs, ErrorReporter& errors) {
    const bool shown = name == "log.dat"     ? !workspace.state().NoLogLoaded
                       : name == "ampl.dat"  ? workspace.series().synthetic().count() > 0
                       : name == "trace.txt" ? workspace.series().trace().count() > 0
                                             : false;
    std::error_code ec;
    if (!shown || !std::filesystem::is_regular_file(workDir.file(name), ec) ||
        !dialogs.askYesNo(
            QStringLiteral("%1 changed outside Quarvel: Reload?").arg(QString::fromUtf8(name)))) {
        return false;
    }
    guarded(errors, [&] {
        if (name == "log.dat") {
            DialogLogQuestions questions(dialogs, "log.dat");
            workspace.log().load(workDir.file("log.dat"), questions);
        } else if (name == "ampl.dat") {
            workspace.series().readSynthetic();
        } else {
            workspace.series().readTrace();
        }
    });
    return true;
}

// Watches the main window's activation.
class ActivationWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate) {
            CommandWorkDir::lookForChanges();
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void offerReloads(AppWindows& windows, CommandWorkDir& commands) {
    commands.tellChangesOutside([&windows](const std::vector<std::string_view>& names) {
        Services& services = windows.services();
        QStringList notReloaded;
        for (const std::string_view name : names) {
            if (!reloadIfShown(windows.workspace(), services.workDir, name, services.dialogs,
                               services.errors)) {
                notReloaded << QString::fromUtf8(name);
            }
        }
        if (!notReloaded.isEmpty()) {
            windows.forms().MainForm->statusBar()->showMessage(
                QStringLiteral("%1 changed outside Quarvel: the panels may show the earlier "
                               "content; load again to see the new.")
                    .arg(notReloaded.join(QStringLiteral(", "))));
        }
    });
    TMainForm* main = windows.forms().MainForm;
    main->installEventFilter(new ActivationWatch(main));
}

bool prepareWorkDir(const WorkDir& workDir, Dialogs& dialogs) {
    try {
        workDir.ensureExists();
        return true;
    } catch (const QuarvelError& e) {
        dialogs.showError(QString::fromStdString(e.what()));
        return false;
    }
}

int runQuarvel(int argc, char** argv) {
    GuardedApplication application(argc, argv);
    // The folders last used in the file questions, kept for the next run.
    QSettings settings(QStringLiteral("Quarvel"), QStringLiteral("quarvel"));
    QtDialogs qtDialogs(settings);
    // Opening a session answers the commands' questions with its files.
    DemoDialogs dialogs(&qtDialogs);
    DialogErrorReporter reporter(dialogs);
    application.setErrorReporter(&reporter);

    const WorkDir workDir = WorkDir::fromEnvironment();
    if (!prepareWorkDir(workDir, dialogs))
        return 1;
    // Every command of the windows holds the working directory to its end,
    // as quarvel-synth's commands do.
    CommandWorkDir commands(workDir);
    AppWindows windows(dialogs, reporter, workDir);
    offerReloads(windows, commands);
    SessionMenu sessions(windows, dialogs);
    restoreWindowPlaces(windows.creationOrder());
    windows.showMainWindow();
    const int status = QApplication::exec();
    saveWindowPlaces(windows.creationOrder());
    return status;
}

} // namespace quarvel
