#include "tie/tie_synthesiser.h"

#include "engine/fft.h"
#include "engine/impedance.h"
#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace quarvel::tie {
namespace {

// The first `count` samples of the linear convolution of a and b.
std::vector<double> convolveFirst(const std::vector<double>& a, const std::vector<double>& b,
                                  std::size_t count) {
    std::vector<double> full = kernels::fftConvolve(a, b);
    full.resize(count, 0.0);
    return full;
}

std::vector<double> envelopeOf(const std::vector<double>& deconvolved,
                               const std::vector<double>& hilbert) {
    const std::vector<double> quadrature = convolveFirst(deconvolved, hilbert, deconvolved.size());
    std::vector<double> envelope(deconvolved.size());
    for (std::size_t i = 0; i < envelope.size(); ++i) {
        envelope[i] = std::sqrt(deconvolved[i] * deconvolved[i] + quadrature[i] * quadrature[i]);
    }
    return envelope;
}

} // namespace

MathFun::SyntheticParameters synthesisParameters(std::string_view startText,
                                                 std::string_view endText,
                                                 std::string_view intervalText) {
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = requireNumber(startText, StartFrequencyField);
    parameters.endFrequency = requireNumber(endText, EndFrequencyField);
    parameters.samplingInterval = requireAboveZero(intervalText, SamplingIntervalField);
    return parameters;
}

TieSynthesiser::TieSynthesiser(MathFun::SyntheticLog log, const MathFun::SyntheticWavelet& wavelet,
                               const MathFun::SyntheticParameters& parameters)
    : log_(std::move(log)), interval_(parameters.samplingInterval),
      centreFrequency_(parameters.startFrequency +
                       (parameters.endFrequency - parameters.startFrequency) / 2) {
    // The engine checks everything the tie relies on: run it once at the
    // factor 1 on the smallest piece of the log it takes.
    MathFun::checkSyntheticLog(log_, "the log");
    if (!(interval_ > 0.0)) {
        throw QuarvelError("The sampling interval of the synthetic must be above 0.");
    }
    const int maxWavelet = MathFun::SeriesCapacity / 2 - 1;
    if (wavelet.amplitudes.empty() || static_cast<int>(wavelet.amplitudes.size()) > maxWavelet ||
        wavelet.amplitudes[0] + MathFun::StabilisationTerm == 0.0) {
        throw QuarvelError("The Klauder wavelet cannot be used for the tie. Press GO in the "
                           "chirp window to generate it again.");
    }
    for (double& density : log_.density) {
        density *= MathFun::DensityScale;
    }
    // The inverse filter as the engine makes it: a spike divided by the
    // wavelet (closed by a 0), its first taps.
    const int m = static_cast<int>(wavelet.amplitudes.size()) + 1;
    Series w;
    Series spike;
    Series inverse;
    Series remainder;
    std::copy(wavelet.amplitudes.begin(), wavelet.amplitudes.end(), w.samples());
    spike[1] = 1.0;
    MathFun::Deconvolve(spike, 2 * m, w, m, inverse, remainder);
    std::vector<double> taps(inverse.samples(), inverse.samples() + MathFun::DeconvolutionTaps);
    for (int i = 2 * m; i < MathFun::DeconvolutionTaps; ++i) {
        taps[static_cast<std::size_t>(i)] = 0.0;
    }
    sharpenedWavelet_ =
        kernels::fftConvolve(std::vector<double>(w.samples(), w.samples() + m), taps);
}

double TieSynthesiser::meanVelocity() const {
    std::vector<double> twt(log_.depth.size());
    MathFun::RowTwoWayTimes(log_.depth, log_.velocity, twt);
    return 2 * log_.depth.back() / twt.back();
}

TieSynthetic TieSynthesiser::operator()(double factor) const {
    const std::size_t n = log_.depth.size();
    std::vector<double> velocity = log_.velocity;
    for (double& v : velocity) {
        v *= factor;
    }
    std::vector<double> twt(n);
    MathFun::RowTwoWayTimes(log_.depth, velocity, twt);
    for (std::size_t i = 1; i < n; ++i) {
        if (!(twt[i] > twt[i - 1])) {
            return {};
        }
    }
    const double dt = interval_;
    std::vector<double> grid;
    for (double u = 0.0; u < twt.back(); u = u + dt) {
        if (grid.size() == static_cast<std::size_t>(MathFun::SeriesCapacity)) {
            return {};
        }
        grid.push_back(u);
    }
    const std::size_t k = grid.size();
    const std::size_t nd = k + sharpenedWavelet_.size() - 1;
    if (k < 2 || 2 * nd - 1 > static_cast<std::size_t>(MathFun::SeriesCapacity)) {
        return {};
    }
    std::vector<double> reflectivity(k);
    MathFun::CellAveragedReflectivity(twt, velocity, log_.density, grid, dt, reflectivity);

    // The engine's one-sided Hilbert kernel and its low-pass, as it lays
    // them out for nd samples (times accumulated step by step).
    std::vector<double> hilbert(nd, 0.0);
    double x = 0.0;
    for (std::size_t i = 1; i < nd; ++i) {
        x = x + dt;
        hilbert[i] = 1 / (std::numbers::pi * x);
    }
    const double t0 = (static_cast<double>(nd) * dt - dt) / 2;
    const double omega = 2 * std::numbers::pi * centreFrequency_;
    const double bound = static_cast<double>(nd - 1) * dt;
    std::vector<double> lowPass;
    for (double u = 0.0; u <= bound; u = u + dt) {
        const double v = u - t0;
        lowPass.push_back(v == 0.0 ? 2 * centreFrequency_
                                   : std::sin(omega * v) / (std::numbers::pi * v));
    }

    const std::vector<double> synthetic = kernels::fftConvolve(
        envelopeOf(convolveFirst(reflectivity, sharpenedWavelet_, nd), hilbert), lowPass);
    // The sea floor's arrival: the same chain on a single reflection at the
    // first sample.
    const std::vector<double> seaFloor = kernels::fftConvolve(
        envelopeOf(convolveFirst(sharpenedWavelet_, {1.0}, nd), hilbert), lowPass);
    const std::size_t first = MathFun::StrongestSample(seaFloor);

    TieSynthetic result;
    result.interval = dt;
    const std::size_t end = std::min(synthetic.size(), first + k);
    result.value.assign(synthetic.begin() + static_cast<std::ptrdiff_t>(first),
                        synthetic.begin() + static_cast<std::ptrdiff_t>(end));
    double largest = 0.0;
    for (const double v : result.value) {
        largest = std::max(largest, std::abs(v));
    }
    if (largest > 0.0) {
        for (double& v : result.value) {
            v /= largest;
        }
    }
    const double peak = std::abs(seaFloor[first]);
    std::size_t j = first;
    while (j + 1 < seaFloor.size() && std::abs(seaFloor[j]) >= peak / 10) {
        ++j;
    }
    result.seaFloorSamples = j - first;
    return result;
}

} // namespace quarvel::tie
