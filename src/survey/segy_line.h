#pragma once

#include "survey/segy_reader.h"

#include <string>
#include <vector>

namespace quarvel {

// The smallest and largest of one header field over the traces.
struct SegyRange {
    double low = 0;
    double high = 0;
};

// What a SEG-Y line's headers say, for the user to review before choosing a
// trace.
struct SegySummary {
    std::string fileName;
    int traceCount = 0;
    int channels = 1;
    int samplesPerTrace = 0;
    int binaryIntervalUs = 0; // rounded; 0 when the binary header gives none
    int traceIntervalUs = 0;  // the first trace header's
    double intervalMs = 0;    // the one used
    bool intervalFromBinaryHeader = true;
    double firstDelayMs = 0;
    int formatCode = 0;
    bool littleEndian = false;
    int revision = 0;
    SegyRange fieldRecords;
    SegyRange tracesInRecord;
    SegyRange x;
    SegyRange y;
    int coordinateUnits = 0;
    double waterDepth = 0; // the first trace header's
    std::vector<std::string> notes;
};

SegySummary summarizeSegy(const SegyReader& reader, const std::vector<SegyTraceHeader>& headers);

// The same summary with the headers read in passing, for a line of any size.
SegySummary summarizeSegy(SegyReader& reader);

// The summary as lines of text, the same in the window and in
// "quarvel-synth info".
std::vector<std::string> segySummaryLines(const SegySummary& summary);

// "m", "seconds of arc", ... for the coordinate units code.
std::string coordinateUnitName(int units);

// How the user names the trace.
enum class TraceChoiceKind { Index, Shot, Near };

struct TraceChoice {
    TraceChoiceKind kind = TraceChoiceKind::Index;
    // Index: the trace from 1 in file order (or the shot from 1 when the
    // shots have several channels); Shot: the field record number.
    long long number = 1;
    int channel = 0; // from 0, when the shots have several channels
    double x = 0;
    double y = 0;
};

// The traces of the chosen channel at the nearest position: several when a
// system records many pings at one position fix.
struct NearestTraces {
    int first = -1; // from 0, in file order
    int last = -1;
    int count = 0;
    double distance = 0; // in the header's units
};

// Chooses a trace from headers handed over in file order, so that a line of
// any length is chosen from without holding its headers.
class TraceChooser {
public:
    // Throws when the choice names a channel the shots lack.
    TraceChooser(int channels, const TraceChoice& choice);

    // False once later headers cannot change the choice.
    bool add(int index, const SegyTraceHeader& header);
    // Whether the choice needs the headers at all.
    bool needsHeaders() const { return choice_.kind != TraceChoiceKind::Index; }
    // The index (from 0) of the trace chosen. Throws with a message naming
    // what the file holds when no trace fits.
    int chosen(long long traceCount) const;
    const NearestTraces& nearest() const { return nearest_; }

private:
    TraceChoice choice_;
    int channels_;
    int found_ = -1;
    std::vector<int> recentRecords_;
    SegyRange records_;
    bool anyRecord_ = false;
    NearestTraces nearest_;
    double nearestX_ = 0;
    double nearestY_ = 0;
};

int chooseTrace(const std::vector<SegyTraceHeader>& headers, int channels,
                const TraceChoice& choice);

// The same choice from the file, its headers read only when the choice needs
// them; `nearest` receives the traces sharing the nearest position.
int chooseTrace(SegyReader& reader, const TraceChoice& choice, NearestTraces* nearest = nullptr);

// "27 traces share the nearest position (traces 1781 to 1807), 3.20 away; the
// first is taken." Empty when one trace has it.
std::string sharedPositionText(const NearestTraces& nearest);

// Where the core was taken, in the coordinates of the line's trace headers
// (their scalar applied), as the position a trace is chosen by.
struct CorePosition {
    double x = 0;
    double y = 0;

    bool operator==(const CorePosition&) const = default;
};

// "Core: 1.00 from trace 2." or, when several traces share the nearest
// position, "Core: 1.00 from traces 3 to 5 (3 share the position).".
std::string corePositionText(const NearestTraces& nearest);

// The distance between two positions in the header's units; positions in
// seconds of arc or degrees have their longitude difference shrunk by the
// cosine of the latitude.
double headerDistance(double x1, double y1, double x2, double y2, int units);

// The mean of trace `index` and the `stack` traces of the same channel on
// each side of it that the file holds and that were recorded with the same
// delay and length. `used` receives how many were
// averaged.
SegyTrace stackedTrace(SegyReader& reader, int index, int stack, double intervalMs, int& used);

} // namespace quarvel
