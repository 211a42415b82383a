#pragma once

#include "formats/series_file.h"
#include "platform/work_dir.h"
#include "survey/segy_choice.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace quarvel {

// Where the trace on show came from: a listing, or a SEG-Y line and the
// choice of its trace. Empty before any trace was loaded.
struct TraceSource {
    std::filesystem::path file;
    std::optional<SegyChoiceFields> segy;
    // A SEG-Y trace's own time at its listing's time 0: where it was cut at
    // the sea floor, or 0 when kept whole.
    std::optional<double> segyZeroMs;
};

// The two series on the panels, the synthetic ("ampl.dat") and the recorded
// trace ("trace.txt"), each with the extents it is drawn over, and where the
// trace came from.
class SeriesModel : public QObject {
    Q_OBJECT
public:
    explicit SeriesModel(WorkDir workDir, QObject* parent = nullptr);

    const SeriesData& synthetic() const { return synthetic_; }
    const SeriesData& trace() const { return trace_; }
    // First and last time and amplitude range of each series as read.
    const SeriesExtents& syntheticExtents() const { return syntheticExtents_; }
    const SeriesExtents& traceExtents() const { return traceExtents_; }
    // The smallest and largest time of the trace read, in ms (0 before one).
    double traceTimeMinMs() const { return traceTimeMinMs_; }
    double traceTimeMaxMs() const { return traceTimeMaxMs_; }
    const TraceSource& traceSource() const { return traceSource_; }
    // The listing last loaded, as the data editor's trace page shows it.
    const std::string& traceListing() const { return traceListing_; }

    // Reads "ampl.dat" as the synthetic.
    void readSynthetic();
    // Reads "trace.txt" as the recorded trace.
    void readTrace();
    // A trace listing loaded from a file: checked, written to "trace.txt"
    // and shown. One that cannot be drawn changes nothing.
    void loadTraceListing(const std::filesystem::path& fileName);
    // A trace listing made elsewhere from `source` (a SEG-Y line's trace),
    // as loadTraceListing.
    void takeTrace(const std::string& listing, TraceSource source);
    // Neither series, as at start-up: their working files go too, so that
    // drawing them again finds nothing of the last session.
    void clear();

signals:
    void synthChanged();
    void traceChanged();
    // A trace was loaded from a file (after traceChanged).
    void traceSourceChanged();
    // Something the user should read that is not an error.
    void notice(const QString& text);

private:
    SeriesData readSeries(const char* fileName);

    WorkDir workDir_;
    SeriesData synthetic_;
    SeriesData trace_;
    SeriesExtents syntheticExtents_;
    SeriesExtents traceExtents_;
    double traceTimeMinMs_ = 0.0;
    double traceTimeMaxMs_ = 0.0;
    TraceSource traceSource_;
    std::string traceListing_;
};

} // namespace quarvel
