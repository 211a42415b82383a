#pragma once

#include "document/calibration_model.h"
#include "document/chirp_model.h"
#include "document/final_plot_model.h"
#include "document/final_plot_options.h"
#include "document/log_model.h"
#include "document/marks_model.h"
#include "document/photograph_model.h"
#include "document/plot_settings.h"
#include "document/probe_model.h"
#include "document/series_model.h"
#include "document/tie_model.h"
#include "engine/synthetic.h"
#include "platform/work_dir.h"
#include "plot/final_plot_source.h"
#include "plot/series_panel.h"
#include "probe/log_scale.h"
#include "probe/workspace_state.h"
#include "survey/log_import_choices.h"
#include "survey/segy_choice.h"
#include "tie/tie_points.h"

#include <QFont>
#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel {

// The document every window shows: the loaded log and the values derived from
// it, the photograph's calibration texts, the chirp settings, the scale and
// axis settings, the series on the panels and the final plot. The commands
// read and write the working files; each change is announced by a signal, and
// the windows redraw from what the workspace holds. Settings are kept as the
// texts the user typed and converted where they are used, each field by its
// own rule, here and nowhere else.
//
// Commands throw QuarvelError before they change anything they cannot
// finish; they never show anything themselves. What the user should be told
// besides an error goes out through notice().
class Workspace : public QObject {
    Q_OBJECT
public:
    explicit Workspace(WorkDir workDir, QObject* parent = nullptr);

    const WorkDir& workDir() const { return workDir_; }

    // The log table the panels draw, the series' extents and the file names.
    const WorkspaceState& state() const { return state_; }

    // What the pointer over the photograph reads out, and the guide line.
    ProbeModel& probe() { return probe_; }
    const ProbeModel& probe() const { return probe_; }
    // The pointer over the photograph at an image column and row, of the
    // colour shown there: its depth from the calibration (rows ymin..ymax),
    // then the reading through the loaded log.
    void pointerAt(long long column, long long row, QRgb colour, int ymin, int ymax);

    // The photograph's calibration texts and boundary file.
    CalibrationModel& calibration() { return calibration_; }
    const CalibrationModel& calibration() const { return calibration_; }

    // The chirp's texts and the wavelet made from them.
    ChirpModel& chirp() { return chirp_; }
    const ChirpModel& chirp() const { return chirp_; }

    // The scales, axis ticks, annotation font and panels chosen. The panels
    // chosen decide where marks go and whether the photograph is squeezed.
    PlotSettings& plotSettings() { return plotSettings_; }
    const PlotSettings& plotSettings() const { return plotSettings_; }

    // The log: the data editor's grid and the "log.dat" made from it. What
    // its commands save is shown at once.
    LogModel& log() { return log_; }
    const LogModel& log() const { return log_; }

    // A session opened starts here: no log, photograph, series, tie points,
    // marks or final plot, so nothing of the last one stays on show or is
    // saved with the new one.
    void startOver();

    // Reads "log.dat" into the log table with the scale settings; automatic
    // bounds follow the log.
    void CALC_LOG_SCALE();
    // CALC_LOG_SCALE, then announces the new log.
    void refreshLog();
    // The data editor has written a new "log.dat": as refreshLog, and from
    // now on a log is loaded.
    void logLoaded();

    // The answers the log on show was imported with (empty for a plain log).
    const LogImportChoices& logImportChoices() const { return logImportChoices_; }
    void setLogImportChoices(LogImportChoices choices) { logImportChoices_ = std::move(choices); }

    // "Calc. Synthetic": the engine's five stages from "log.dat" and
    // "klauder.dat" with the chirp texts, each stage starting where the
    // tie's time-zero choice says, then the synthetic is read.
    void computeSynthetic();
    // "Anti-aliased impedance": Calc. Synthetic averages the impedance over
    // each sample's time cell.
    bool antiAliased() const { return antiAliased_; }
    void setAntiAliased(bool antiAliased);
    // After Calc. Synthetic: the warning when the interval aliases the log's
    // thin beds, or empty.
    const QString& aliasingWarning() const { return aliasingWarning_; }
    // After "Calc. Synthetic": the warning that the synthetic's time 0 is an
    // arrival far below the sea floor, naming the offset; empty when it is
    // not, or when the synthetic starts at the sea floor anyway.
    const QString& timeZeroWarning() const { return timeZeroWarning_; }
    // The synthetic and the trace with their extents.
    SeriesModel& series() { return series_; }
    const SeriesModel& series() const { return series_; }
    // The trace the choice names on a SEG-Y line, as the series'
    // loadTraceListing; returns what was done, for the user.
    std::string loadSegyTrace(const std::filesystem::path& fileName,
                              const SegyChoiceFields& choice);
    // The spans a SEG-Y trace may be cut to: the synthetic's and the log's.
    LengthSpans traceLengthSpans() const;
    // Where the core was taken on the SEG-Y line, typed in the trace window
    // or kept in a session: the section marks it.
    const std::optional<CorePosition>& corePosition() const { return corePosition_; }
    void setCorePosition(const std::optional<CorePosition>& position);
    // Whether "Calc. Synthetic" has run in this document.
    bool syntheticComputed() const { return syntheticComputed_; }
    // A synthetic loaded from a file is there to be compared with the trace:
    // the trace panel is selected.
    void selectTrace();

    // Loads a core photograph: once it has been read it becomes the
    // workspace's photograph, with no guide line, and its boundary file is
    // the one beside it. One that cannot be read changes nothing.
    void loadPhotograph(const QString& fileName);
    // The photograph, the columns the core panel shows and the panels'
    // height.
    PhotographModel& photograph() { return photograph_; }
    const PhotographModel& photograph() const { return photograph_; }

    // The marks on the panels and the panels drawn so far.
    MarksModel& marks() { return marks_; }
    const MarksModel& marks() const { return marks_; }

    // The tie: its points, the time-zero choice, the bulk measurement and
    // the depth-varying alignment.
    TieModel& tie() { return tie_; }
    const TieModel& tie() const { return tie_; }
    // A tie point added, marking the panels chosen, the trace only when the
    // point has a trace time the trace can show.
    void addTiePoint(tie::TiePoint point);
    // A mark-making click at a row of the photograph: a tie point of the
    // pointer's reading, with its trace time when the trace is chosen. A
    // trace that cannot take the mark leaves the point without its trace
    // time, and says why by throwing after the point is kept.
    void markAtPointer(int row);
    // Tie points made earlier (a session reopened) in place of the ones
    // there are, marked on the panels chosen now.
    void restoreTiePoints(std::vector<tie::TiePoint> points);
    // The trace event the user picked for the last tie point (ms): its
    // trace time then differs from the estimate where the user says so, and
    // the trace is marked again where its points now say. Throws when there
    // is no tie point.
    void pickTraceTime(double ms);
    // The loaded log's depth to two-way-time table as CSV text (depth_m,
    // twt_ms), by the rule the synthetic's time axis is laid out with.
    // Throws when no log is loaded.
    std::string timeDepthCsv() const;
    // The bulk tie's Apply: every velocity of the log scaled by the tie's
    // best factor, which is returned. Throws, changing nothing, when the tie
    // has no factor for the log on show.
    double applyBulkTie();
    // Apply: the log's velocities rewritten so that every interval's
    // two-way time is the depth-varying tie's (depths and densities as they
    // are, log.dat whole or not at all), the synthetic computed again, then
    // the coefficient after measured as the tie's apply task. Throws,
    // changing nothing, when there is no depth-varying tie or the log has
    // changed since it was measured.
    void applyDepthVaryingTie();
    // Undo: the log as it was before the last Apply, and its synthetic.
    void undoApply();

    // What the final plot is composed from, as the document holds it now.
    // With the options: the tied synthetic in the synthetic panel's place
    // when there is a tie; the section excerpt when the trace came from a
    // SEG-Y line, which is read again for it (throws naming what failed).
    FinalPlotSource finalPlotSource(bool withTitle) const;
    // The final plot as last composed.
    FinalPlotModel& finalPlot() { return finalPlot_; }
    const FinalPlotModel& finalPlot() const { return finalPlot_; }

signals:
    void logChanged();
    // The engine has written a new "ampl.dat" (after the series'
    // synthChanged).
    void synthComputed();
    void traceSelected();
    void corePositionChanged();
    void antiAliasedChanged();
    // Something the user should read that is not an error.
    void notice(const QString& text);

private:
    // The log table and the scales from the text of "log.dat".
    void showLogScale(const LogScaleResult& result);
    void logSaved(LogModel::Changes changes);
    // Emits logChanged, the log panels drawn anew.
    void announceLog();
    // The tie points cleared with a notice saying why, and their marks off
    // every panel.
    void dropTiePoints(const char* why);
    SectionExcerpt excerpt() const;

    WorkDir workDir_;
    // Computes every "Calc. Synthetic"; its series are allocated once.
    MathFun::Engine engine_;
    LogModel log_;
    WorkspaceState state_;
    ProbeModel probe_;
    PlotSettings plotSettings_;
    CalibrationModel calibration_;
    ChirpModel chirp_;
    SeriesModel series_;
    PhotographModel photograph_{calibration_, plotSettings_};
    TieModel tie_;
    MarksModel marks_{plotSettings_, series_, photograph_};
    FinalPlotModel finalPlot_;
    std::optional<CorePosition> corePosition_;
    bool syntheticComputed_ = false;
    QString timeZeroWarning_;
    bool antiAliased_ = false;
    QString aliasingWarning_;
    LogImportChoices logImportChoices_;
};

} // namespace quarvel
