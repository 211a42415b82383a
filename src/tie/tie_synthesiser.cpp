#include "tie/tie_synthesiser.h"

#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "formats/quarvel_error.h"

#include <memory>
#include <utility>

namespace quarvel::tie {

TimeSeries writtenSynthetic(const MathFun::SyntheticSeries& series, MathFun::TimeZero timeZero) {
    const std::size_t first = timeZero == MathFun::TimeZero::SeaFloor
                                  ? series.seaFloorSample[3]
                                  : MathFun::StrongestSample(series.synthetic);
    MathFun::SeriesRows rows = MathFun::SeriesRowsFrom(series.synthetic, first,
                                                       series.samplingInterval, series.timeLimit());
    return {std::move(rows.time), std::move(rows.value)};
}

MathFun::SyntheticParameters synthesisParameters(std::string_view startText,
                                                 std::string_view endText,
                                                 std::string_view intervalText) {
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = requireNumber(startText, StartFrequencyField);
    parameters.endFrequency = requireNumber(endText, EndFrequencyField);
    parameters.samplingInterval = requireAboveZero(intervalText, SamplingIntervalField);
    return parameters;
}

Synthesiser engineSynthesiser(MathFun::SyntheticLog log, MathFun::SyntheticWavelet wavelet,
                              MathFun::SyntheticParameters parameters, MathFun::TimeZero timeZero) {
    auto engine = std::make_shared<MathFun::Engine>();
    return [engine, log = std::move(log), wavelet = std::move(wavelet), parameters,
            timeZero](double factor) {
        MathFun::SyntheticLog scaled = log;
        for (double& velocity : scaled.velocity) {
            velocity *= factor;
        }
        try {
            return writtenSynthetic(engine->computeSynthetic(scaled, wavelet, parameters),
                                    timeZero);
        } catch (const QuarvelError&) {
            return TimeSeries{};
        }
    };
}

} // namespace quarvel::tie
