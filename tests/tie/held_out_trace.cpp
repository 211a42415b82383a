#include "tie/held_out_trace.h"

#include "formats/numbers.h"

#include <cmath>
#include <complex>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>

namespace quarvel::tie::testing {
namespace {

constexpr double SampleInterval = 66e-6;
constexpr double CentreFrequency = 7000; // Hz: a 2-12 kHz sweep
constexpr double WaveletWidth = 40e-6;   // s: the Gaussian's standard deviation
constexpr double Water = 1500 * 1.03;    // the sea water's impedance above the core

void fillGaps(std::vector<double>& column) {
    for (std::size_t i = 0; i < column.size(); ++i) {
        if (column[i] != 0) {
            continue;
        }
        std::size_t end = i;
        while (end < column.size() && column[end] == 0) {
            ++end;
        }
        const double before = i > 0 ? column[i - 1] : column[end];
        const double after = end < column.size() ? column[end] : before;
        for (std::size_t k = i; k < end; ++k) {
            column[k] = before + (after - before) * static_cast<double>(k - i + 1) /
                                     static_cast<double>(end - i + 1);
        }
    }
}

} // namespace

MathFun::SyntheticLog readFilledLog(const std::string& path) {
    std::ifstream in(path);
    MathFun::SyntheticLog log;
    std::string depth, velocity, density;
    while (in >> depth >> velocity >> density) {
        log.depth.push_back(numbers::parseNumber(depth));
        log.velocity.push_back(numbers::parseNumber(velocity));
        log.density.push_back(numbers::parseNumber(density));
    }
    if (log.depth.size() < 2) {
        throw std::runtime_error("no log in " + path);
    }
    fillGaps(log.velocity);
    fillGaps(log.density);
    return log;
}

HeldOutTrace heldOutTrace(const MathFun::SyntheticLog& log, const HeldOutCase& c) {
    std::vector<TimeDepthPoint> truth{{0, c.delay * 1000}};
    double oneWay = 0;
    for (std::size_t i = 0; i < log.depth.size(); ++i) {
        const auto trueVelocity = [&](std::size_t k) {
            return log.velocity[k] * (log.depth[k] <= c.split ? c.above : c.below);
        };
        const double above = i > 0 ? log.depth[i - 1] : 0.0;
        const double mean = i > 0 ? (trueVelocity(i - 1) + trueVelocity(i)) / 2 : trueVelocity(0);
        oneWay += (log.depth[i] - above) / mean;
        truth.push_back({log.depth[i], (c.delay + 2 * oneWay) * 1000});
    }
    HeldOutTrace out{{}, TimeDepthRelation(truth)};
    // Reflections at the sea floor and midway between rows.
    std::vector<double> when, strength;
    double impedance = Water;
    for (std::size_t i = 0; i < log.depth.size(); ++i) {
        const double z = log.velocity[i] * log.density[i];
        const double depth = i > 0 ? (log.depth[i - 1] + log.depth[i]) / 2 : 0.0;
        when.push_back(out.truth.twtAt(depth) / 1000);
        strength.push_back((z - impedance) / (z + impedance));
        impedance = z;
    }
    const double length = when.back() + 1e-3;
    std::vector<std::complex<double>> samples;
    for (double t = 0; t < length; t += SampleInterval) {
        std::complex<double> sum = 0;
        for (std::size_t k = 0; k < when.size() && !c.pureNoise; ++k) {
            const double x = (t - when[k]) / WaveletWidth;
            if (std::abs(x) < 8) {
                sum += strength[k] * std::exp(-0.5 * x * x) *
                       std::polar(1.0, 2 * std::numbers::pi * CentreFrequency * (t - when[k]));
            }
        }
        samples.push_back(sum);
    }
    double power = 0;
    for (const auto& s : samples) {
        power += std::norm(s);
    }
    const double rms = c.pureNoise ? 1.0 : std::sqrt(power / static_cast<double>(samples.size()));
    std::mt19937_64 random(c.seed);
    const auto gaussian = [&] {
        // Box-Muller from the generator's raw bits, the same on every library.
        const double u1 = (static_cast<double>(random() >> 11) + 0.5) / 9007199254740992.0;
        const double u2 = static_cast<double>(random() >> 11) / 9007199254740992.0;
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    };
    for (std::size_t k = 0; k < samples.size(); ++k) {
        const std::complex<double> noisy =
            samples[k] +
            c.noise * rms * std::complex<double>(gaussian(), gaussian()) / std::sqrt(2.0);
        out.trace.time.push_back(static_cast<double>(k) * SampleInterval);
        out.trace.value.push_back(std::abs(noisy));
    }
    return out;
}

} // namespace quarvel::tie::testing
