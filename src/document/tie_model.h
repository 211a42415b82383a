#pragma once

#include "document/task.h"
#include "engine/synthetic.h"
#include "formats/series_file.h"
#include "platform/work_dir.h"
#include "tie/depth_varying_tie.h"
#include "tie/tie_measure.h"
#include "tie/tie_points.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

class ChirpModel;
class LogModel;
class SeriesModel;

// A depth-varying tie as the document keeps it: what was asked, what came
// out, and the text of "log.dat" it was measured on.
struct DepthVaryingResult {
    tie::DepthVaryingRequest request;
    tie::DepthVaryingTie tie;
    std::string logText;
    double logCoefficient = 0.0; // the log as it is, at its best shift
    // A relation a session kept: no alignment, proposals or verdict come
    // with it, so it is shown and exported but not applied untested.
    bool fromSession = false;
};

// What an Apply of the depth-varying tie made of the tie: the coefficient of
// the log at its best shift before (as the bulk measurement found it) and
// after (measured again on the log applied).
struct AppliedTie {
    double before = 0.0;
    double after = 0.0;
};

// The tie of the synthetic to the trace: the tie points made by clicks, where
// the synthetic's time 0 lies, the bulk measurement and the depth-varying
// alignment with the tie points it is held to. It reads the log, the series
// and the chirp it measures from, and changes none of them: Apply rewrites
// the log through the workspace. Everything it holds belongs to the log,
// photograph and trace it was made on; when one of them is replaced the
// workspace drops it here, with a notice.
class TieModel : public QObject {
    Q_OBJECT
public:
    TieModel(WorkDir workDir, const LogModel& log, const SeriesModel& series,
             const ChirpModel& chirp, QObject* parent = nullptr);

    // The tie points: one per mark-making click, in the order made. The
    // workspace adds them, as it marks the panels for them.
    const std::vector<tie::TiePoint>& tiePoints() const { return tiePoints_; }
    void addTiePoint(tie::TiePoint point);
    void clearTiePoints();
    // Tie points made earlier (a session reopened) in place of the ones
    // there are.
    void restoreTiePoints(std::vector<tie::TiePoint> points);
    // The tie points cleared, telling the user why they went (the photograph
    // or log they were made on was replaced).
    void dropTiePoints(const char* why);
    // The trace event the user picked for the last tie point (ms). Throws
    // when there is no tie point.
    void pickTraceTime(double ms);
    // The tie points as CSV (header row,depth_m,est_twt_ms,trace_twt_ms).
    void exportTiePoints(const std::filesystem::path& path) const;

    // Where the stage files start: the strongest sample (at start) or the
    // sea floor's arrival. Taken by the next "Calc. Synthetic".
    MathFun::TimeZero timeZero() const { return timeZero_; }
    void setTimeZero(MathFun::TimeZero timeZero);

    // What the Tie window measures: the synthetic on show against the trace
    // on show, with the engine to recompute the synthetic from the log,
    // "klauder.dat" and the chirp texts for every velocity factor tried. The
    // limits are the window's texts (shift in ms). Throws, naming what is
    // missing or wrong, before anything runs.
    tie::TieRequest tieRequest(const std::string& maxShiftMs, const std::string& minFactor,
                               const std::string& maxFactor) const;
    // The measurement as the document's task: the request made here, the
    // work on a worker thread with progress and cancel, the result kept by
    // the task until the next one. Throws before starting, as tieRequest.
    void startTieMeasurement(const std::string& maxShiftMs, const std::string& minFactor,
                             const std::string& maxFactor);
    Task<tie::TieMeasurement>& tieTask() { return tieTask_; }
    const Task<tie::TieMeasurement>& tieTask() const { return tieTask_; }
    // The factor the bulk tie's Apply scales the log's velocities by: the
    // best the last measurement found. Throws while it runs, before one has
    // finished, and once the log differs from the one it measured.
    double applicableFactor() const;
    // The synthetic in the trace's time below the sea floor as the tie puts
    // it: the depth-varying tie's when one was aligned from the last bulk
    // measurement, else the bulk tie's (its synthetic at the best factor,
    // moved by the best shift), else the synthetic on show as it is. A tie
    // measured on another log or trace than those on show counts for nothing.
    SeriesData tiedSynthetic() const;
    // The same as the tie left it (s below the sea floor), and whether the
    // tie is the depth-varying one; nothing without a tie on show.
    struct PlacedSynthetic {
        tie::TimeSeries series;
        bool depthVarying = false;
    };
    std::optional<PlacedSynthetic> placedSynthetic() const;

    // The depth-varying tie as the document's task: the last bulk
    // measurement's synthetic at its factor, stretched and squeezed onto the
    // same trace from its shift, no interval's velocity leaving the bulk
    // tie's by more than the limit (% as typed), through the accepted tie
    // points and the trace times picked for tie points with Shift+click.
    // Throws before starting when there is no bulk measurement, the log has
    // changed since it or the limit is out of range.
    void startDepthVaryingTie(const std::string& velocityLimitPct);
    Task<DepthVaryingResult>& depthVaryingTask() { return depthVaryingTask_; }
    // The alignment held: the last one finished, or the one a session kept.
    // It belongs to the log, the trace and the bulk tie it was made from:
    // when any of them changes it goes, with a notice, and
    // depthVaryingChanged tells the views.
    const std::optional<DepthVaryingResult>& depthVaryingTie() const { return depthVarying_; }
    // A session's accepted tie points and relation, on the log and trace
    // just restored.
    void restoreDepthVaryingTie(std::vector<tie::FixedTie> accepted,
                                tie::TimeDepthRelation relation);
    // The tie point at `depth` (accepted, or proposed by the alignment held)
    // moved to a trace time (ms) and accepted there, then aligned again
    // within the same limits as the document's task. Throws, changing
    // nothing, when there is no alignment to follow or the move would put
    // the tie points out of order or ask for more velocity change than the
    // limit.
    void moveDepthVaryingTie(double depth, double traceMs);
    // The tie points the next alignment must pass through, by depth; a new
    // log or trace clears them.
    const std::vector<tie::FixedTie>& acceptedTies() const { return acceptedTies_; }
    // Accepting a point at the depth of one already accepted moves it.
    void acceptTie(tie::FixedTie point);
    void removeAcceptedTie(double depth);
    // The alignment held (and a running one) no longer counts; with the
    // accepted tie points too when `accepted` says so. A reason names what
    // it was made on in a notice; without one it goes silently.
    void dropDepthVaryingTie(const char* why, bool accepted);
    // The trace was read anew: the alignment goes unless it is the one
    // measured.
    void traceRead();

    // The alignment Apply may write into the log: throws, naming why, when
    // there is none, it came from a session, the last Apply is still being
    // measured or the log has changed since it was measured.
    const DepthVaryingResult& applicableTie() const;
    // After Apply rewrote the log: its coefficient at its best shift
    // measured as the bulk tie measured it, as the apply task.
    void measureApplied(double before);
    Task<AppliedTie>& applyTask() { return applyTask_; }
    // The depth-varying tie's time-depth table (depth_m,twt_ms, settings in
    // "#" lines) and the log with its velocities as Apply would write them,
    // as LAS 2.0. Throw when there is no depth-varying tie.
    void exportDepthVaryingTable(const std::filesystem::path& path) const;
    void exportCorrectedLog(const std::filesystem::path& path) const;

signals:
    void tiePointsChanged();
    void timeZeroChanged();
    void acceptedTiesChanged();
    // depthVaryingTie() holds another alignment, or none.
    void depthVaryingChanged();
    // Something the user should read that is not an error.
    void notice(const QString& text);

private:
    // The bulk measurement's inputs, and the log they were read from.
    struct TieInputs {
        tie::TieRequest request;
        MathFun::SyntheticLog log;
        std::string logText;
    };
    TieInputs tieInputs(const std::string& maxShiftMs, const std::string& minFactor,
                        const std::string& maxFactor) const;
    // The trace on show is the one the bulk tie compared (in seconds).
    bool measuredTraceOnShow() const;
    const DepthVaryingResult& depthVaryingResult() const;
    void clearAcceptedTies();
    // The alignment request from the bulk tie, through these accepted tie
    // points and the trace times picked with Shift+click; checked as the
    // alignment would check it.
    DepthVaryingResult alignmentStart(const tie::WarpLimits& limits,
                                      std::vector<tie::FixedTie> accepted) const;
    void startAlignment(DepthVaryingResult start);
    void aligned();

    WorkDir workDir_;
    const LogModel& log_;
    const SeriesModel& series_;
    const ChirpModel& chirp_;
    std::vector<tie::TiePoint> tiePoints_;
    MathFun::TimeZero timeZero_ = MathFun::TimeZero::Strongest;
    Task<tie::TieMeasurement> tieTask_;
    TieInputs measured_; // what tieTask_ measured
    Task<DepthVaryingResult> depthVaryingTask_;
    Task<AppliedTie> applyTask_;
    std::vector<tie::FixedTie> acceptedTies_;
    std::optional<DepthVaryingResult> depthVarying_;
    // The running alignment's inputs changed after it started: its result
    // is not taken.
    bool alignmentDropped_ = false;
};

} // namespace quarvel
