#pragma once

#include <QImage>
#include <QObject>
#include <optional>

namespace quarvel {

// The final plot as last composed, and where its trace panel stood: a plot
// composed without the trace keeps the trace panel's x of the last one with
// it.
class FinalPlotModel : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Null before a plot is composed.
    const QImage& image() const { return image_; }
    // The trace panel's x in the last plot that showed the trace (0 before).
    int axisX() const { return axisX_; }
    void setPlot(const QImage& plot, std::optional<int> axisX);
    // No plot composed yet (a session opened).
    void clear();

signals:
    void changed();

private:
    QImage image_;
    int axisX_ = 0;
};

} // namespace quarvel
