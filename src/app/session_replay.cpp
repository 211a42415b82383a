#include "app/session_replay.h"

#include "app/application.h"
#include "app/demo.h"
#include "calibration/boundaries.h"
#include "calibration/core_photo_form.h"
#include "chirp/chirp_form.h"
#include "document/workspace.h"
#include "editor/segy_trace_form.h"
#include "editor/tables_form.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "session/session.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <array>
#include <filesystem>

namespace quarvel {

namespace {

// True when the file is there to be read; otherwise names it among the
// problems.
bool readable(const QString& path, const QString& what, QStringList& problems) {
    const QFileInfo info(path);
    if (info.isFile() && info.isReadable()) {
        return true;
    }
    problems.append(
        QStringLiteral("%1 \"%2\" %3")
            .arg(what, QDir::toNativeSeparators(path),
                 info.exists() ? QStringLiteral("cannot be read") : QStringLiteral("is missing")));
    return false;
}

bool sameFile(const QString& a, const std::string& b) {
    return QFileInfo(a) == QFileInfo(QString::fromStdString(b));
}

void clickIfEnabled(QAbstractButton* button) {
    if (button->isEnabled()) {
        button->click();
    }
}

// Sets a component's value from its text, whatever kind of field it is.
// Returns false for a name that is no field of the window.
bool setField(QWidget* window, const QString& name, const QString& text) {
    QWidget* field = window->findChild<QWidget*>(name);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        edit->setText(text);
    } else if (auto* spin = qobject_cast<QSpinBox*>(field)) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok) {
            return false;
        }
        spin->setValue(value);
    } else if (auto* box = qobject_cast<QCheckBox*>(field)) {
        box->setChecked(text == QLatin1String("true"));
    } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
        const int index = combo->findText(text);
        if (index < 0) {
            return false;
        }
        combo->setCurrentIndex(index);
    } else {
        return false;
    }
    return true;
}

void setFields(QWidget* window, const QMap<QString, QString>& texts, QStringList& problems) {
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        if (!setField(window, it.key(), it.value())) {
            problems.append(QStringLiteral("The field \"%1\" of %2 cannot take \"%3\"")
                                .arg(it.key(), window->objectName(), it.value()));
        }
    }
}

void loadPhotograph(AppWindows& windows, DemoDialogs& dialogs, const Session& session,
                    QStringList& problems) {
    const AppForms& forms = windows.forms();
    if (session.photograph.isEmpty() || !readable(session.photograph, "The photograph", problems)) {
        return;
    }
    dialogs.answerNextOpen(session.photograph);
    forms.MainForm->coreButton()->click();
    TCore_Photo_Form* boundaries = forms.Core_Photo_Form;
    if (!session.boundaries.isEmpty() &&
        !sameFile(session.boundaries, windows.workspace().state().BndFileName)) {
        if (readable(session.boundaries, "The boundary file", problems)) {
            dialogs.answerNextOpen(session.boundaries);
            boundaries->LoadBoundaries1Click();
        }
    }
    if (session.calibration.size() == Boundaries::FieldCount) {
        // As typed into the boundaries window: the workspace holds the texts.
        std::array<std::string, Boundaries::FieldCount> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = session.calibration[static_cast<qsizetype>(i)].toStdString();
        }
        windows.workspace().setCalibration(Boundaries::fromTexts(texts));
    }
}

bool loadLog(const AppForms& forms, Workspace& workspace, DemoDialogs& dialogs,
             const Session& session, QStringList& problems) {
    if (session.log.isEmpty() || !readable(session.log, "The log", problems)) {
        return false;
    }
    TTables_Form* tables = forms.Tables_Form;
    tables->showPage(TTables_Form::LogsPage);
    workspace.answerNextLogImport(session.logImport);
    dialogs.answerNextOpen(session.log);
    tables->loadButton()->click();
    if (session.interpolated) {
        tables->interpolateButton()->click();
    }
    tables->logsRefreshButton()->click();
    return true;
}

void runChirp(AppWindows& windows, const Session& session) {
    TChirp_Form* chirp = windows.forms().Chirp_Form;
    if (session.chirpTexts.size() == 4) {
        // As typed into the chirp window: the workspace holds the texts.
        const auto text = [&session](qsizetype i) { return session.chirpTexts[i].toStdString(); };
        windows.workspace().setChirpTexts({text(0), text(1), text(2), text(3)});
    }
    if (session.chirpGo) {
        chirp->SpeedButton1Click();
    }
}

void loadTrace(const AppForms& forms, DemoDialogs& dialogs, const Session& session,
               QStringList& problems) {
    if (session.trace.isEmpty() || !readable(session.trace, "The trace", problems)) {
        return;
    }
    TTables_Form* tables = forms.Tables_Form;
    tables->showPage(TTables_Form::TracePage);
    dialogs.answerNextOpen(session.trace);
    tables->loadButton()->click();
    // A SEG-Y line opens its trace window; the session's choices finish it.
    SegyTraceForm* segy = tables->segyForm();
    if (segy->isVisible()) {
        setFields(segy, session.segyFields, problems);
        segy->LoadTraceButtonClick();
    }
}

// The marks again, in the order made, each where it was and on the trace
// where the trace was marked; "Correlator" and "Trace" are left as the
// session has them.
void replayTiePoints(AppWindows& windows, const QList<SessionTiePoint>& points) {
    TMainForm* main = windows.forms().MainForm;
    QCheckBox* correlatorBox = main->correlatorBox();
    QCheckBox* traceBox = main->traceBox();
    const bool correlator = correlatorBox->isChecked();
    const bool trace = traceBox->isChecked();
    correlatorBox->setChecked(true);
    for (const SessionTiePoint& point : points) {
        traceBox->setChecked(traceBox->isEnabled() && point.traceTwt.has_value());
        markRows(windows, {point.row});
    }
    traceBox->setChecked(trace);
    correlatorBox->setChecked(correlator);
}

} // namespace

QStringList replaySession(AppWindows& windows, DemoDialogs& dialogs, const Session& session) {
    const AppForms& forms = windows.forms();
    TMainForm* main = forms.MainForm;
    QStringList problems;

    // The session's own tie points come last, on its photograph and log.
    windows.workspace().startOver();
    main->fitCoreItem()->setChecked(session.fitCore);
    loadPhotograph(windows, dialogs, session, problems);
    const bool logLoaded = loadLog(forms, windows.workspace(), dialogs, session, problems);
    runChirp(windows, session);
    windows.workspace().setTimeZero(session.seaFloorTimeZero ? MathFun::TimeZero::SeaFloor
                                                             : MathFun::TimeZero::Strongest);
    windows.workspace().setAntiAliased(session.antiAliased);
    if (session.synthetic && logLoaded) {
        clickIfEnabled(main->calcSyntheticButton());
    }
    loadTrace(forms, dialogs, session, problems);

    for (auto it = session.fields.begin(); it != session.fields.end(); ++it) {
        QWidget* window = nullptr;
        for (QWidget* candidate : windows.creationOrder()) {
            if (candidate->objectName() == it.key()) {
                window = candidate;
            }
        }
        if (window == nullptr) {
            problems.append(QStringLiteral("There is no window \"%1\"").arg(it.key()));
            continue;
        }
        setFields(window, it.value(), problems);
        // The dialogs take their texts with OK, as the user would.
        if (auto* ok = window->findChild<QPushButton*>(QStringLiteral("BitBtn1"))) {
            ok->click();
        }
    }
    if (!session.annotationFont.isEmpty()) {
        QFont font;
        if (font.fromString(session.annotationFont)) {
            windows.workspace().setAnnotationFont(font);
        } else {
            problems.append(QStringLiteral("The annotation font \"%1\" is not a font")
                                .arg(session.annotationFont));
        }
    }
    for (auto it = session.checkBoxes.begin(); it != session.checkBoxes.end(); ++it) {
        for (QCheckBox* box : main->panelBoxes()) {
            if (box->objectName() == it.key() && box->isChecked() != it.value()) {
                clickIfEnabled(box);
            }
        }
    }
    if (main->correlatorBox()->isChecked() != session.correlator) {
        clickIfEnabled(main->correlatorBox());
    }
    const ImagePanel* photograph = main->photograph();
    replayTiePoints(windows,
                    tiePointsOnPhotograph(
                        session.tiePoints,
                        photograph->hasPicture() ? photograph->picture().height() : 0, problems));
    return problems;
}

QString replayMessage(const QString& sessionPath, const QStringList& problems,
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
