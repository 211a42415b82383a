#include "document/series_model.h"

#include "editor/listing_file.h"
#include "formats/capacity.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <utility>

namespace quarvel {

SeriesModel::SeriesModel(WorkDir workDir, QObject* parent)
    : QObject(parent), workDir_(std::move(workDir)) {}

SeriesData SeriesModel::readSeries(const char* fileName) {
    SeriesData series = readSeriesFile(workDir_.file(fileName));
    if (series.truncated) {
        emit notice(QStringLiteral("\"%1\" holds more than %2 samples; the rest was left out.")
                        .arg(QLatin1String(fileName))
                        .arg(SeriesCapacity));
    }
    return series;
}

void SeriesModel::readSynthetic() {
    synthetic_ = readSeries("ampl.dat");
    syntheticExtents_ = seriesExtents(synthetic_);
    emit synthChanged();
}

void SeriesModel::readTrace() {
    trace_ = readSeries("trace.txt");
    traceExtents_ = seriesExtents(trace_);
    traceTimeMinMs_ = trace_.runningTimeMin * 1000;
    traceTimeMaxMs_ = trace_.runningTimeMax * 1000;
    emit traceChanged();
}

void SeriesModel::loadTraceListing(const std::filesystem::path& fileName) {
    takeTrace(readListingFile(fileName), {fileName, std::nullopt, std::nullopt});
}

void SeriesModel::takeTrace(const std::string& listing, TraceSource source) {
    // A trace the panel cannot draw must not take the place of the last good
    // one.
    checkTraceListing(listing);
    std::string text = normaliseLineEnds(listing);
    writeTextFile(workDir_.file("trace.txt"), text);
    traceListing_ = std::move(text);
    traceSource_ = std::move(source);
    readTrace();
    emit traceSourceChanged();
}

void SeriesModel::clear() {
    for (const char* name : {"ampl.dat", "trace.txt"}) {
        const std::filesystem::path file = workDir_.file(name);
        std::error_code ec;
        std::filesystem::remove(file, ec);
        if (ec) {
            throwCannotCreate(file.string(), ec.message());
        }
    }
    if (!synthetic_.time.empty()) {
        synthetic_ = {};
        syntheticExtents_ = {};
        emit synthChanged();
    }
    if (!trace_.time.empty() || !traceSource_.file.empty()) {
        trace_ = {};
        traceExtents_ = {};
        traceTimeMinMs_ = 0.0;
        traceTimeMaxMs_ = 0.0;
        traceSource_ = {};
        traceListing_.clear();
        emit traceChanged();
        emit traceSourceChanged();
    }
}

} // namespace quarvel
