#pragma once

#include "formats/log_file.h"

#include <QObject>
#include <QRgb>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// What the pointer over the photograph reads out: the depth of its row, the
// two-way time estimated down to it through the log, and the texts the main
// window shows for them.
struct ProbeReading {
    double depth = 0.0;  // m
    double estTwt = 0.0; // ms, two way
    double instVelocity = 0.0;
    double instDensity = 0.0;
    std::string depthText;    // 4 decimals
    std::string twtText;      // 3 decimals
    std::string velocityText; // empty without a log
    std::string densityText;  // empty without a log
    std::string status0;      // the pixel and its colour
    std::string status1;      // the depth and the time
};

// The pointer over the photograph and the guide line under it: the row of the
// photograph shown inverted while the correlator follows the pointer. The
// main window moves the pointer and the guide through these commands and
// draws what the signals tell; a mark's tie point takes the reading.
class ProbeModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const ProbeReading& reading() const { return reading_; }
    // The pointer at an image column and row of the colour shown there, at a
    // depth: the time is estimated through the first logCount records.
    void pointerAt(long long column, long long row, QRgb colour, double depth,
                   const std::vector<LogRecord>& log, int logCount);

    // The row the guide line inverts, while it is shown.
    std::optional<int> guideRow() const { return guideRow_; }
    // The guide at that row, hidden first where it was.
    void showGuide(int row);
    void hideGuide();

signals:
    void readingChanged();
    void guideShown(int row);
    void guideHidden(int row);

private:
    ProbeReading reading_;
    std::optional<int> guideRow_;
};

} // namespace quarvel
