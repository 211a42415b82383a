#include "document/photograph_model.h"

#include "calibration/core_photo_loader.h"
#include "document/calibration_model.h"
#include "document/plot_settings.h"
#include "formats/numbers.h"
#include "plot/plot_marks.h"

#include <utility>

namespace quarvel {

PhotographModel::PhotographModel(const CalibrationModel& calibration, const PlotSettings& settings,
                                 QObject* parent)
    : QObject(parent), calibration_(calibration), settings_(settings) {
    // New X min or X max move a squeezed photograph's core; "Fit Core to
    // Panel" squeezes it or shows it as it is.
    connect(&calibration, &CalibrationModel::changed, this, [this] { show(false); });
    connect(&settings, &PlotSettings::panelsChanged, this, [this] { show(false); });
}

void PhotographModel::load(const QString& fileName) {
    QImage photo = loadCorePhotograph(fileName);
    fileName_ = fileName.toStdString();
    image_ = std::move(photo);
    show(true);
}

void PhotographModel::clear() {
    if (image_.isNull() && fileName_.empty()) {
        return;
    }
    image_ = QImage();
    fileName_.clear();
    coreColumns_.reset();
    emit changed();
}

void PhotographModel::show(bool anew) {
    if (image_.isNull()) {
        return;
    }
    std::optional<CoreColumns> columns;
    const int width = image_.width();
    if (settings_.panels().fitCore && squeezesCore(width, CorePanelWidth)) {
        // Until X min and X max are whole numbers the whole width is the core.
        const Boundaries& calibration = calibration_.boundaries();
        const std::optional<int> xmin = numbers::tryParseInteger(calibration.xmin);
        const std::optional<int> xmax = numbers::tryParseInteger(calibration.xmax);
        columns = xmin && xmax ? quarvel::coreColumns(*xmin, *xmax, width, CorePanelWidth)
                               : quarvel::coreColumns(0, width - 1, width, CorePanelWidth);
    }
    if (!anew && columns == coreColumns_) {
        return;
    }
    coreColumns_ = columns;
    emit changed();
}

int PhotographModel::panelHeight() const {
    return image_.isNull() ? StartPanelHeight : image_.height();
}

} // namespace quarvel
