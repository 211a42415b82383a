#pragma once

#include "calibration/boundaries.h"
#include "calibration/boundary_check.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

namespace quarvel {

// The photograph's calibration: the eight texts as typed, the boundary file
// they belong to and what the boundaries window's status bar tells about
// it. Texts are kept as typed and converted where they are used, each field
// by its own rule; a field that cannot be converted is told once until its
// text changes or a new photograph comes.
class CalibrationModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const Boundaries& boundaries() const { return boundaries_; }
    void setBoundaries(const Boundaries& boundaries);
    // The boundary file the calibration belongs to: the photograph's, or the
    // file last written.
    const std::string& boundaryFile() const { return boundaryFile_; }
    const QString& status() const { return status_; }

    // A new photograph: its boundary file is the one beside it, and every
    // problem may be told again.
    void photographLoaded(const std::filesystem::path& image);
    // The calibration that belongs to the photograph just loaded: its
    // boundary file when there is one (true), else the whole core panel of
    // the given size as the pixel bounds, to be corrected by hand (false).
    // A file whose fields cannot all be used is read all the same, and a
    // notice names those fields.
    bool UpdateBoundaries(int panelWidth, int panelHeight);
    // Reads a boundary file into the texts, with a notice naming the fields
    // that cannot be used. A file that does not exist throws and changes
    // nothing.
    void load(const std::filesystem::path& path);
    // Writes the calibration; the file written becomes the current one.
    void save(const std::filesystem::path& path);
    // True when every field the read-outs and the final plot convert can be
    // converted.
    bool usable() const;

    // The pixel fields for a move over the photograph. A field that cannot be
    // converted throws a message naming it the first time; until that field's
    // text changes or a new photograph is loaded, later calls return nothing
    // without a word, so one bad field is one message, not one per move.
    std::optional<PixelBounds> probeBounds();
    // The depth read-out's rule for Top and Bottom: the depth in metres of a
    // row offset dy inside the pixel rows ymin..ymax (see
    // depth_twt::probeDepth); the previous depth stands while Bottom is not a
    // number.
    double probeDepth(int ymin, int ymax, long long dy, double previousDepth) const;

signals:
    void changed();
    void statusChanged();
    // Something the user should read that is not an error.
    void notice(const QString& text);

private:
    void replace(const Boundaries& boundaries);
    void setStatus(QString status);
    // Tells, once, what is wrong with the fields just read from a file.
    void tellFileProblems(const std::string& fileName);

    Boundaries boundaries_;
    BoundaryReports reports_;
    std::string boundaryFile_;
    QString status_;
};

} // namespace quarvel
