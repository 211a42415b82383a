#pragma once

#include "probe/workspace_state.h"

#include <QFont>
#include <QImage>
#include <span>

namespace quarvel {

enum class LogPanelKind {
    Velocity, // "PWave-Vel", the record's velocity
    Density,  // "Density", the record's density times 1000
};

// What one log panel shows: the records, its horizontal bounds (as the scale
// dialog holds them) and the depth range of the log.
struct LogPanelInput {
    LogPanelKind kind = LogPanelKind::Velocity;
    std::span<const LogRecord> records;
    int minBound = 0;
    int maxBound = 0;
    double topDepth = 0.0;
    double bottomDepth = 0.0;
};

// The panel picture: a black frame on white, the polyline from (0, 0) through
// every record (column trunc((value - min) / sx), row trunc(depth / sy) with
// sx = (max - min) / width and sy = (bottom - top) / height; no curve when
// either scale is 0), the title at (5, 15), the lower bound at (1, 1) and the
// upper bound flush with the right edge, all text on opaque white. Throws
// "Floating point division by zero" when the panel has no width or height.
QImage renderLogPanel(const LogPanelInput& input, int width, int height, const QFont& font);

} // namespace quarvel
