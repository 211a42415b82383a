#include "app/session_menu.h"

#include "app/application.h"
#include "app/demo.h"
#include "document/session_document.h"
#include "document/workspace.h"
#include "main_window/main_form.h"
#include "platform/error_reporter.h"
#include "session/session.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

namespace quarvel {

namespace {

constexpr qsizetype RecentCount = 8;
constexpr auto RecentKey = "sessions/recent";

constexpr auto SettingsOrganization = "Quarvel";
constexpr auto SettingsApplication = "quarvel";

FileDialogRequest sessionRequest(const char* title) {
    return {QString::fromLatin1(title), QStringLiteral("Quarvel Sessions|*.qvs"),
            QStringLiteral("qvs"), QStringLiteral("session")};
}

} // namespace

SessionMenu::SessionMenu(AppWindows& windows, DemoDialogs& dialogs)
    : QObject(windows.forms().MainForm), windows_(windows), dialogs_(dialogs) {
    TMainForm* main = windows.forms().MainForm;
    // The menu holding "Exit" is the File menu.
    QMenu* file = nullptr;
    for (QObject* owner : main->exitItem()->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner)) {
            file = menu;
        }
    }
    if (file == nullptr) {
        file = main->menuBar()->addMenu(QStringLiteral("&File"));
    }
    auto* openItem = new QAction(QStringLiteral("&Open Session…"), main);
    openItem->setObjectName("OpenSession1");
    auto* saveItem = new QAction(QStringLiteral("Sa&ve Session"), main);
    saveItem->setObjectName("SaveSession1");
    auto* saveAsItem = new QAction(QStringLiteral("Save Session &As…"), main);
    saveAsItem->setObjectName("SaveSessionAs1");
    recent_ = new QMenu(QStringLiteral("&Recent Sessions"), main);
    recent_->setObjectName("RecentSessions1");
    file->insertActions(main->exitItem(), {openItem, saveItem, saveAsItem});
    file->insertMenu(main->exitItem(), recent_);
    file->insertSeparator(main->exitItem());
    connect(openItem, &QAction::triggered, this, [this] {
        guarded(windows_.services().errors, [this] {
            if (!changesMayGo()) {
                return;
            }
            if (const std::optional<QString> path =
                    dialogs_.openFile(sessionRequest("Open Session"))) {
                open(*path);
            }
        });
    });
    connect(saveItem, &QAction::triggered, this, [this] { save(); });
    connect(saveAsItem, &QAction::triggered, this, [this] { saveAs(); });
    fillRecent();

    // Whatever the document announces is a change a session would keep.
    Workspace& workspace = windows.workspace();
    const auto changed = [this] { setModified(true); };
    for (const auto signal : {&Workspace::logChanged, &Workspace::antiAliasedChanged,
                              &Workspace::corePositionChanged}) {
        connect(&workspace, signal, this, changed);
    }
    connect(&workspace.photograph(), &PhotographModel::changed, this, changed);
    connect(&workspace.calibration(), &CalibrationModel::changed, this, changed);
    for (const auto signal : {&TieModel::tiePointsChanged, &TieModel::timeZeroChanged,
                              &TieModel::acceptedTiesChanged, &TieModel::depthVaryingChanged}) {
        connect(&workspace.tie(), signal, this, changed);
    }
    connect(&workspace.chirp(), &ChirpModel::textsChanged, this, changed);
    connect(&workspace.chirp(), &ChirpModel::waveletChanged, this, changed);
    connect(&workspace.series(), &SeriesModel::synthChanged, this, changed);
    connect(&workspace.series(), &SeriesModel::traceChanged, this, changed);
    for (const auto signal :
         {&PlotSettings::scalesChanged, &PlotSettings::axisChanged, &PlotSettings::fontChanged,
          &PlotSettings::panelsChanged, &PlotSettings::finalPlotOptionsChanged}) {
        connect(&workspace.plotSettings(), signal, this, changed);
    }
    connect(&workspace.log(), &LogModel::cellEdited, this, changed);
    main->installEventFilter(this);
    showTitle();
}

bool SessionMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && !changesMayGo()) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool SessionMenu::changesMayGo() {
    if (!modified_) {
        return true;
    }
    const QString name =
        current_.isEmpty()
            ? QStringLiteral("the session")
            : QStringLiteral("the session \"%1\"").arg(QFileInfo(current_).fileName());
    const std::optional<Dialogs::Unsaved> answer = dialogs_.askSaveChanges(
        QStringLiteral("The document has changes that are not saved in %1.\nSave them first?")
            .arg(name));
    if (!answer) {
        return false;
    }
    return *answer == Dialogs::Unsaved::Discard || save();
}

void SessionMenu::setModified(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        windows_.forms().MainForm->setWindowModified(modified);
    }
}

void SessionMenu::showTitle() {
    const QString name =
        current_.isEmpty() ? QStringLiteral("Untitled session") : QFileInfo(current_).fileName();
    windows_.forms().MainForm->setWindowTitle(QStringLiteral("Quarvel v1.0 - %1[*]").arg(name));
}

void SessionMenu::open(const QString& path) {
    // A refused session is not the one Save Session writes to, nor a recent one.
    if (!openSession(windows_, dialogs_, path)) {
        return;
    }
    current_ = path;
    remember(path);
    setModified(false);
    showTitle();
}

bool SessionMenu::save() {
    if (current_.isEmpty()) {
        return saveAs();
    }
    bool saved = false;
    guarded(windows_.services().errors, [this, &saved] {
        writeSessionFile(snapshotSession(windows_.workspace()), current_);
        saved = true;
    });
    setModified(modified_ && !saved);
    return saved;
}

bool SessionMenu::saveAs() {
    bool saved = false;
    guarded(windows_.services().errors, [this, &saved] {
        const std::optional<QString> path = dialogs_.saveFile(sessionRequest("Save Session As"));
        if (!path || path->isEmpty()) {
            return;
        }
        const QString named = withDefaultExtension(*path, QStringLiteral("qvs"));
        writeSessionFile(snapshotSession(windows_.workspace()), named);
        current_ = named;
        remember(named);
        saved = true;
    });
    if (saved) {
        setModified(false);
        showTitle();
    }
    return saved;
}

void SessionMenu::remember(const QString& path) {
    QSettings settings(SettingsOrganization, SettingsApplication);
    QStringList recent = settings.value(RecentKey).toStringList();
    const QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    recent.removeAll(absolute);
    recent.prepend(absolute);
    settings.setValue(RecentKey, recent.mid(0, RecentCount));
    fillRecent();
}

void SessionMenu::fillRecent() {
    recent_->clear();
    const QStringList recent = QSettings(SettingsOrganization, SettingsApplication)
                                   .value(RecentKey)
                                   .toStringList()
                                   .mid(0, RecentCount);
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        // Numbered for the keyboard; an "&" in a name is a character, not a key.
        QAction* item = recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QDir::toNativeSeparators(path).replace('&', QStringLiteral("&&"))));
        connect(item, &QAction::triggered, this, [this, path] {
            if (changesMayGo()) {
                open(path);
            }
        });
    }
    recent_->setEnabled(!recent.isEmpty());
}

QString reopenedMessage(const QString& sessionPath, const QStringList& problems,
                        const QStringList& notices) {
    const QString session = QDir::toNativeSeparators(sessionPath);
    QString message =
        problems.isEmpty()
            ? QStringLiteral("The session \"%1\" opened.").arg(session)
            : QStringLiteral("The session \"%1\" opened without some of its parts:").arg(session);
    for (const QString& problem : problems) {
        message += QStringLiteral("\n") + problem + '.';
    }
    for (const QString& notice : notices) {
        message += QStringLiteral("\n\n") + notice;
    }
    return message;
}

} // namespace quarvel
