#pragma once

#include "survey/log_import_choices.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quarvel {

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

// What a user did to reach a tie, recorded so that reopening it runs the same
// commands again: the files they opened and the texts and choices they set,
// not the working files those commands wrote. Paths here are absolute (or
// empty for "none"); the file format stores them relative to the session
// file when they lie beside or below it.
struct Session {
    QString photograph;
    // The photograph's boundary file; when empty, `calibration` holds the
    // eight texts of the boundaries window (Top, Bottom, Left, Right, xmin,
    // xmax, ymin, ymax), or nothing to keep the ones the photograph brought.
    QString boundaries;
    QStringList calibration;
    // "Fit Core to Panel": a wide photograph squeezed to its core's columns.
    bool fitCore = true;

    QString log;
    // The answers its import was given (LAS, MSCL and other tables).
    LogImportChoices logImport;
    bool interpolated = false; // "Interpolate Series" ran on the log

    // The chirp window's four texts (peredit, stfreqedit, edfreqedit,
    // samedit), empty to keep the window's own; `chirpGo`: "GO" ran.
    QStringList chirpTexts;
    bool chirpGo = false;
    bool synthetic = false;        // "Calc. Synthetic" ran
    bool seaFloorTimeZero = false; // "Synthetic Starts at Sea Floor" was checked
    bool antiAliased = false;      // "Anti-aliased impedance" was checked

    // The trace: a listing, or a SEG-Y line with the trace window's field
    // texts by component name.
    QString trace;
    QMap<QString, QString> segyFields;

    // Further texts of the windows, by window and component name: the scale
    // dialogs and the graphic parameters ("VelScaleForm" -> "MinVel" -> "1400").
    QMap<QString, QMap<QString, QString>> fields;
    QString annotationFont;         // QFont::toString(), empty to keep the default
    QMap<QString, bool> checkBoxes; // the selection bar's, by component name
    bool correlator = false;
    // The marks, in the order they were made.
    QList<SessionTiePoint> tiePoints;

    bool operator==(const Session&) const = default;
};

// The session as the text of a ".qvs" file (JSON), paths relative to the
// folder `sessionDir` where they lie in or below it.
QByteArray sessionToJson(const Session& session, const QString& sessionDir);

// The session in a ".qvs" file's text. Unknown keys are ignored; a session
// of a later version than this program reads is refused, as is a text that is
// not a session, with a QuarvelError saying why.
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
