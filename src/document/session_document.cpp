#include "document/session_document.h"

#include "calibration/boundaries.h"
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "survey/log_import_choices.h"
#include "survey/segy_reader.h"

#include <QDir>
#include <QFileInfo>
#include <array>
#include <functional>

namespace quarvel {

namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// Runs the steps of a restore, each to its end or to its first error, which
// is kept among the problems; the next step runs either way.
class Steps {
public:
    // True when the file is there to be read; otherwise names it among the
    // problems.
    bool readable(const QString& path, const QString& what) {
        const QFileInfo info(path);
        if (info.isFile() && info.isReadable()) {
            return true;
        }
        problems.append(QStringLiteral("%1 \"%2\" %3")
                            .arg(what, QDir::toNativeSeparators(path),
                                 info.exists() ? QStringLiteral("cannot be read")
                                               : QStringLiteral("is missing")));
        return false;
    }

    bool run(const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const QuarvelError& e) {
            problems.append(QString::fromStdString(e.what()).chopped(
                QString::fromStdString(e.what()).endsWith('.') ? 1 : 0));
            return false;
        }
    }

    QStringList problems;
};

// A session is a page of text: a relation of a long, finely sampled log
// keeps every k-th point (and its last), at most this many.
constexpr std::size_t MaxRelationPoints = 4000;

void tell(Workspace& workspace, const std::vector<std::string>& notices) {
    for (const std::string& text : notices) {
        emit workspace.notice(qText(text));
    }
}

void restorePhotograph(Workspace& workspace, const Session& session, Steps& steps) {
    if (session.photograph.isEmpty() || !steps.readable(session.photograph, "The photograph")) {
        return;
    }
    steps.run([&] {
        workspace.loadPhotograph(session.photograph);
        const QImage& photo = workspace.photograph().image();
        workspace.calibration().UpdateBoundaries(photo.width(), photo.height());
    });
    if (!session.boundaries.isEmpty() &&
        QFileInfo(session.boundaries) != QFileInfo(qText(workspace.calibration().boundaryFile())) &&
        steps.readable(session.boundaries, "The boundary file")) {
        steps.run([&] { workspace.calibration().load(session.boundaries.toStdString()); });
    }
    if (session.calibration.size() == Boundaries::FieldCount) {
        std::array<std::string, Boundaries::FieldCount> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = session.calibration[static_cast<qsizetype>(i)].toStdString();
        }
        workspace.calibration().setBoundaries(Boundaries::fromTexts(texts));
    }
}

bool restoreLog(Workspace& workspace, const Session& session, LogImportQuestions& unanswered,
                Steps& steps) {
    if (session.log.isEmpty() || !steps.readable(session.log, "The log")) {
        return false;
    }
    return steps.run([&] {
        RecordedLogQuestions questions(unanswered, session.logImport);
        const auto notices = workspace.log().load(session.log.toStdString(), questions);
        if (!notices) {
            throw QuarvelError(QStringLiteral("The log \"%1\" was not imported: a question about "
                                              "it was cancelled")
                                   .arg(QDir::toNativeSeparators(session.log))
                                   .toStdString(),
                               ErrorKind::Cancelled);
        }
        tell(workspace, *notices);
        workspace.setLogImportChoices(questions.choices());
        if (session.interpolated) {
            tell(workspace, workspace.log().interpolate());
            workspace.log().save();
        }
    });
}

void restoreTrace(Workspace& workspace, const Session& session, Steps& steps) {
    if (session.trace.isEmpty() || !steps.readable(session.trace, "The trace")) {
        return;
    }
    steps.run([&] {
        const std::filesystem::path path = session.trace.toStdString();
        if (!isSegyFile(path)) {
            workspace.series().loadTraceListing(path);
            return;
        }
        // Without a choice, the trace window's first one: the first trace, cut
        // to the synthetic's span when there is one.
        SegyChoiceFields choice;
        if (workspace.traceLengthSpans().syntheticMs > 0) {
            choice.length = LengthMode::Synthetic;
        }
        emit workspace.notice(qText(workspace.loadSegyTrace(path, session.segy.value_or(choice))));
    });
}

void restoreSettings(Workspace& workspace, const Session& session, bool logLoaded, Steps& steps) {
    const SessionScales& s = session.scales;
    workspace.plotSettings().setScales(
        {s.autoVelocity, s.minVelocity, s.maxVelocity, s.autoDensity, s.minDensity, s.maxDensity});
    if (logLoaded) {
        // The bounds follow the log again where they are automatic.
        steps.run([&] { workspace.refreshLog(); });
    }
    const QStringList& axis = session.axisTexts;
    workspace.plotSettings().setAxis({axis.value(0).toStdString(), axis.value(1).toStdString(),
                                      axis.value(2).toStdString(), axis.value(3).toStdString()});
    workspace.plotSettings().setFinalPlotOptions(
        {session.tiedSynthetic, session.sectionExcerpt, session.sectionTraces.toStdString()});
    if (!session.annotationFont.isEmpty()) {
        QFont font;
        if (font.fromString(session.annotationFont)) {
            workspace.plotSettings().setFont(font);
        } else {
            steps.problems.append(QStringLiteral("The annotation font \"%1\" is not a font")
                                      .arg(session.annotationFont));
        }
    }
    // A panel the session does not tick or untick is ticked when it shows
    // something, as drawing it ticks it in the windows.
    PanelChoices panels = workspace.plotSettings().panels();
    const SessionPanels& saved = session.panels;
    const bool log = !workspace.state().NoLogLoaded;
    panels.photo = saved.photo.value_or(panels.photo || !workspace.photograph().image().isNull());
    panels.synthetic =
        saved.synthetic.value_or(panels.synthetic || !workspace.series().synthetic().time.empty());
    panels.trace = saved.trace.value_or(panels.trace || !workspace.series().trace().time.empty());
    panels.velocity = saved.velocity.value_or(panels.velocity || log);
    panels.density = saved.density.value_or(panels.density || log);
    panels.correlator = saved.correlator;
    workspace.plotSettings().setPanels(panels);
}

// A session from before the core's position was kept gives the position its
// trace was chosen by, when it was chosen by one.
std::optional<CorePosition> corePositionOf(const Session& session) {
    if (session.corePosition || !session.segy || session.segy->kind != TraceChoiceKind::Near) {
        return session.corePosition;
    }
    return positionOf(*session.segy);
}

// The depth-varying tie belongs to the log and the trace it was made on.
void restoreDepthVarying(Workspace& workspace, const Session& session, bool logLoaded,
                         Steps& steps) {
    if (session.acceptedTies.isEmpty() && session.relation.isEmpty()) {
        return;
    }
    if (!logLoaded || workspace.series().trace().time.empty()) {
        steps.problems.append(
            QStringLiteral("The depth-varying tie was left out: it needs its log and its trace"));
        return;
    }
    steps.run([&] {
        std::vector<tie::FixedTie> accepted;
        for (const SessionDepthTime& point : session.acceptedTies) {
            accepted.push_back({point.depth, point.twtMs / 1000});
        }
        std::vector<tie::TimeDepthPoint> points;
        for (const SessionDepthTime& point : session.relation) {
            points.push_back({point.depth, point.twtMs});
        }
        workspace.tie().restoreDepthVaryingTie(
            std::move(accepted),
            points.empty() ? tie::TimeDepthRelation() : tie::TimeDepthRelation(std::move(points)));
    });
}

} // namespace

Session snapshotSession(const Workspace& workspace) {
    const WorkspaceState& state = workspace.state();
    Session session;
    session.photograph = qText(workspace.photograph().fileName());
    if (!workspace.photograph().fileName().empty()) {
        const std::string& boundaryFile = workspace.calibration().boundaryFile();
        if (boundaryFileExists(boundaryFile)) {
            session.boundaries = qText(boundaryFile);
        }
        // The texts as they stand: typed corrections after the boundary file
        // was read are kept as well.
        for (const std::string& text : workspace.calibration().boundaries().texts()) {
            session.calibration.append(qText(text));
        }
    }
    // A log given up since (a session opened without its log) is not saved.
    if (!state.NoLogLoaded && !workspace.log().source().empty()) {
        session.log = pathText(workspace.log().source());
        session.interpolated = workspace.log().interpolated();
        session.logImport = workspace.logImportChoices();
    }
    const ChirpTexts& chirp = workspace.chirp().texts();
    session.chirpTexts = {qText(chirp.width), qText(chirp.start), qText(chirp.end),
                          qText(chirp.interval)};
    session.chirpGo = workspace.chirp().waveletMade();
    session.synthetic = workspace.syntheticComputed();
    session.seaFloorTimeZero = workspace.tie().timeZero() == MathFun::TimeZero::SeaFloor;
    session.antiAliased = workspace.antiAliased();
    session.trace = pathText(workspace.series().traceSource().file);
    session.segy = workspace.series().traceSource().segy;
    session.corePosition = workspace.corePosition();
    const LogScaleSettings& scales = workspace.plotSettings().scales();
    session.scales = {scales.autoVel,  scales.minVel,  scales.maxVel,
                      scales.autoDens, scales.minDens, scales.maxDens};
    const AxisTexts& axis = workspace.plotSettings().axis();
    session.axisTexts = {qText(axis.xMarkFreq), qText(axis.xLabelFreq), qText(axis.yMarkFreq),
                         qText(axis.yLabelFreq)};
    session.annotationFont = workspace.plotSettings().font().toString();
    const FinalPlotOptions& plot = workspace.plotSettings().finalPlotOptions();
    session.tiedSynthetic = plot.tiedSynthetic;
    session.sectionExcerpt = plot.sectionExcerpt;
    session.sectionTraces = qText(plot.sectionTraces);
    const PanelChoices& panels = workspace.plotSettings().panels();
    session.panels = {panels.photo,   panels.synthetic,  panels.trace,  panels.velocity,
                      panels.density, panels.correlator, panels.fitCore};
    for (const tie::TiePoint& point : workspace.tie().tiePoints()) {
        session.tiePoints.append({point.row, qText(point.depthText), point.estTwt, point.traceTwt});
    }
    for (const tie::FixedTie& point : workspace.tie().acceptedTies()) {
        session.acceptedTies.append({point.depth, point.twt * 1000});
    }
    if (const std::optional<DepthVaryingResult>& held = workspace.tie().depthVaryingTie()) {
        const std::vector<tie::TimeDepthPoint>& points = held->tie.relation.points();
        const std::size_t step = points.size() / MaxRelationPoints + 1;
        for (std::size_t i = 0; i < points.size(); i += step) {
            session.relation.append({points[i].depth, points[i].twt});
        }
        if (!points.empty() && (points.size() - 1) % step != 0) {
            session.relation.append({points.back().depth, points.back().twt});
        }
    }
    return session;
}

QStringList restoreSession(Workspace& workspace, const Session& session,
                           LogImportQuestions& unanswered) {
    Steps steps;
    workspace.startOver();
    // How the photograph is shown comes before the photograph.
    PanelChoices panels = workspace.plotSettings().panels();
    panels.fitCore = session.panels.fitCore;
    workspace.plotSettings().setPanels(panels);
    restorePhotograph(workspace, session, steps);
    const bool logLoaded = restoreLog(workspace, session, unanswered, steps);
    if (session.chirpTexts.size() == 4) {
        const auto text = [&session](qsizetype i) { return session.chirpTexts[i].toStdString(); };
        workspace.chirp().setTexts({text(0), text(1), text(2), text(3)});
    }
    if (session.chirpGo) {
        steps.run([&] { workspace.chirp().makeWavelet(); });
    }
    workspace.tie().setTimeZero(session.seaFloorTimeZero ? MathFun::TimeZero::SeaFloor
                                                         : MathFun::TimeZero::Strongest);
    workspace.setAntiAliased(session.antiAliased);
    if (session.synthetic && logLoaded) {
        steps.run([&] { workspace.computeSynthetic(); });
    }
    restoreTrace(workspace, session, steps);
    workspace.setCorePosition(corePositionOf(session));
    restoreSettings(workspace, session, logLoaded, steps);
    // A point off the photograph has no depth to export: left out, named.
    const QImage& photo = workspace.photograph().image();
    std::vector<tie::TiePoint> points;
    for (const SessionTiePoint& point : tiePointsOnPhotograph(
             session.tiePoints, photo.isNull() ? 0 : photo.height(), steps.problems)) {
        points.push_back({point.row, point.depthText.toStdString(), point.estTwt, point.traceTwt});
    }
    workspace.restoreTiePoints(std::move(points));
    restoreDepthVarying(workspace, session, logLoaded, steps);
    return steps.problems;
}

} // namespace quarvel
