#pragma once

#include "plot/core_columns.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <optional>
#include <string>

namespace quarvel {

class CalibrationModel;
class PlotSettings;

// The core photograph as loaded and how the core panel shows it: a
// photograph more than twice the panel's width is squeezed to the core's
// columns, X min to X max, while "Fit Core to Panel" is on. The calibration
// and the panel choices are read where they are kept; a change of either
// that moves the columns shows the photograph anew.
class PhotographModel : public QObject {
    Q_OBJECT
public:
    PhotographModel(const CalibrationModel& calibration, const PlotSettings& settings,
                    QObject* parent = nullptr);

    // Reads a core photograph and shows it. One that cannot be read throws
    // and changes nothing, not even the name the next final plot is titled
    // with.
    void load(const QString& fileName);
    // No photograph, as at start-up (a session opened without one).
    void clear();
    // The photograph as loaded (null before one is), and its file.
    const QImage& image() const { return image_; }
    const std::string& fileName() const { return fileName_; }
    // The columns the core panel shows squeezed, or nothing when it shows
    // the photograph as it is.
    const std::optional<CoreColumns>& coreColumns() const { return coreColumns_; }
    // The height every panel takes: the photograph's, or the panels' height
    // at start before there is one.
    int panelHeight() const;

signals:
    // The core panel shows another photograph, or other columns of it.
    void changed();

private:
    // The columns recomputed; a change shows the photograph anew (always,
    // when asked).
    void show(bool anew);

    const CalibrationModel& calibration_;
    const PlotSettings& settings_;
    QImage image_;
    std::string fileName_;
    std::optional<CoreColumns> coreColumns_;
};

} // namespace quarvel
