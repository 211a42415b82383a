#pragma once

#include "survey/log_import_choices.h"
#include "survey/segy_choice.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quarvel {

// The SEG-Y choices compare field by field.
bool operator==(const SegyChoiceFields& a, const SegyChoiceFields& b);

// One correlation mark as it was made: the photograph's row, and what the
// workspace kept of it (the depth read-out, the estimated two-way time in ms
// and, when the trace was marked, its time in ms).
struct SessionTiePoint {
    int row = 0;
    QString depthText;
    double estTwt = 0.0;
    std::optional<double> traceTwt;

    bool operator==(const SessionTiePoint&) const = default;
};

// A depth (m below the core top) and a two-way time (ms below the sea floor
// on the trace): a tie point accepted for the depth-varying tie, or a point
// of the relation it gave.
struct SessionDepthTime {
    double depth = 0.0;
    double twtMs = 0.0;

    bool operator==(const SessionDepthTime&) const = default;
};

// The settings of the two log scale dialogs (m/s and kg/m3).
struct SessionScales {
    bool autoVelocity = true;
    int minVelocity = 1400;
    int maxVelocity = 1600;
    bool autoDensity = true;
    int minDensity = 1400;
    int maxDensity = 2300;

    bool operator==(const SessionScales&) const = default;
};

// Which panels are ticked in the selection bar, "Correlator" and "Fit Core
// to Panel". A panel the file does not name keeps its tick.
struct SessionPanels {
    std::optional<bool> photo;
    std::optional<bool> synthetic;
    std::optional<bool> trace;
    std::optional<bool> velocity;
    std::optional<bool> density;
    bool correlator = false;
    bool fitCore = true;

    bool operator==(const SessionPanels&) const = default;
};

// The document as a file keeps it: the files it was made from, the answers
// and choices they were read with, the settings, and the tie points; not the
// working files, which opening the session makes again. Paths here are
// absolute (or empty for "none"); the file stores them relative to the
// session file when they lie beside or below it.
struct Session {
    QString photograph;
    // The photograph's boundary file, and the eight calibration texts as they
    // stood (Top, Bottom, Left, Right, xmin, xmax, ymin, ymax), or none to
    // keep the ones the boundary file brought.
    QString boundaries;
    QStringList calibration;

    QString log;
    // The answers its import was given (LAS, MSCL and other tables).
    LogImportChoices logImport;
    bool interpolated = false; // "Interpolate Series" ran on the log

    // The four chirp texts (pulse width, start and end frequency, sample
    // interval), empty to keep the program's own; `chirpGo`: the wavelet was
    // made from them.
    QStringList chirpTexts;
    bool chirpGo = false;
    bool synthetic = false;        // the synthetic was computed
    bool seaFloorTimeZero = false; // the synthetic starts at the sea floor
    bool antiAliased = false;      // the impedance is averaged over each sample

    // The trace: a listing, or a SEG-Y line with the choice of its trace.
    QString trace;
    std::optional<SegyChoiceFields> segy;
    // Where the core was taken, in the SEG-Y line's coordinates.
    std::optional<CorePosition> corePosition;

    SessionScales scales;
    // The final plot's tick texts: x mark and label frequency, y mark and
    // label frequency.
    QStringList axisTexts{"10", "50", "200", "200"};
    QString annotationFont; // QFont::toString(), empty to keep the default
    // What the final plot adds: the synthetic after the tie, and a section
    // excerpt of so many traces either side of the core's (as typed).
    bool tiedSynthetic = false;
    bool sectionExcerpt = false;
    QString sectionTraces = "25";
    SessionPanels panels;
    // The marks, in the order they were made.
    QList<SessionTiePoint> tiePoints;
    // The depth-varying tie: the tie points accepted, by depth, and the
    // relation aligned through them (empty when there is none).
    QList<SessionDepthTime> acceptedTies;
    QList<SessionDepthTime> relation;

    bool operator==(const Session&) const = default;
};

// The session as the text of a ".qvs" file (JSON), paths relative to the
// folder `sessionDir` where they lie in or below it.
QByteArray sessionToJson(const Session& session, const QString& sessionDir);

// The session in a ".qvs" file's text, of this version or the first (whose
// keys named the windows' fields; they are read into the same settings).
// Unknown keys are ignored; a session of a later version than this program
// reads is refused, as is a text that is not a session, with a QuarvelError
// saying why.
Session sessionFromJson(const QByteArray& text, const QString& sessionDir);

// The tie points that lie on a photograph of `rows` rows (none without a
// photograph). Each other one is left out and named among the problems: a
// row outside the picture has no depth to export.
QList<SessionTiePoint> tiePointsOnPhotograph(const QList<SessionTiePoint>& points, int rows,
                                             QStringList& problems);

// Reads and writes session files; errors raise a QuarvelError naming the file.
// Nothing is written unless the whole session is.
Session readSessionFile(const QString& path);
void writeSessionFile(const Session& session, const QString& path);

} // namespace quarvel
