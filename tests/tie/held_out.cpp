#include "tie/held_out.h"

#include "formats/text_file.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace quarvel::tie::heldout {
namespace {

constexpr double PulseWidth = 0.06e-3; // s, of the Gaussian
constexpr double Carrier = 7000.0;     // Hz

struct Reflection {
    double time;
    double coefficient;
};

// The analytic sum of the pulses with complex Gaussian noise, enveloped.
TimeSeries record(const std::vector<Reflection>& reflections, double length, double interval,
                  double noise, std::uint64_t seed) {
    std::mt19937_64 bits(seed);
    std::normal_distribution<double> gauss(0.0, noise / std::numbers::sqrt2);
    TimeSeries trace;
    for (double t = 0.0; t < length; t += interval) {
        std::complex<double> sum(gauss(bits), gauss(bits));
        for (const Reflection& r : reflections) {
            const double x = (t - r.time) / PulseWidth;
            if (std::abs(x) < 6) {
                sum += r.coefficient * std::exp(-x * x) *
                       std::polar(1.0, 2 * std::numbers::pi * Carrier * (t - r.time));
            }
        }
        trace.time.push_back(t);
        trace.value.push_back(std::abs(sum));
    }
    return trace;
}

} // namespace

MathFun::SyntheticLog demoCore(double uncalibrated) {
    std::stringstream lines(
        readTextFile(std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/demo/demo_core_log.txt"));
    MathFun::SyntheticLog core;
    double depth = 0;
    double velocity = 0;
    double density = 0;
    while (lines >> depth >> velocity >> density) {
        core.depth.push_back(depth);
        core.velocity.push_back(velocity / uncalibrated);
        core.density.push_back(density);
    }
    // Gaps (0) filled on the line between their neighbours.
    for (std::vector<double>* column : {&core.velocity, &core.density}) {
        std::vector<double>& v = *column;
        for (std::size_t i = 1; i + 1 < v.size(); ++i) {
            if (v[i] == 0) {
                std::size_t j = i;
                while (v[j] == 0) {
                    ++j;
                }
                for (std::size_t k = i; k < j; ++k) {
                    v[k] = v[i - 1] + (v[j] - v[i - 1]) * static_cast<double>(k - i + 1) /
                                          static_cast<double>(j - i + 1);
                }
            }
        }
    }
    return core;
}

TimeSeries forwardTrace(const MathFun::SyntheticLog& core, const TraceModel& model) {
    std::vector<Reflection> reflections;
    double above = 1500.0 * 1.025; // sea water, in m/s times g/cm3
    double time = 0.0;
    double depth = 0.0;
    for (std::size_t i = 0; i < core.depth.size(); ++i) {
        const double velocity = core.velocity[i] * model.velocityFactor(core.depth[i]);
        const double below = velocity * core.density[i];
        reflections.push_back({time + model.delay, (below - above) / (below + above)});
        time += 2 * (core.depth[i] - depth) / velocity;
        depth = core.depth[i];
        above = below;
    }
    double strongest = 0.0;
    for (std::size_t i = 1; i < reflections.size(); ++i) {
        strongest = std::max(strongest, std::abs(reflections[i].coefficient));
    }
    // Beds below the core that no log describes.
    std::mt19937_64 bits(model.seed + 17);
    std::uniform_real_distribution<double> where(0.0, model.tail);
    std::uniform_real_distribution<double> size(-1.0, 1.0);
    for (int i = 0; i < 40; ++i) {
        reflections.push_back({time + model.delay + where(bits), size(bits) * strongest});
    }
    return record(reflections, time + model.delay + model.tail, model.interval,
                  model.noise * strongest, model.seed);
}

TimeSeries noiseEnvelope(double length, double interval, std::uint64_t seed) {
    // Noise shaped like the pulses: random reflections everywhere.
    std::mt19937_64 bits(seed);
    std::uniform_real_distribution<double> size(-1.0, 1.0);
    std::vector<Reflection> reflections;
    for (double t = 0.0; t < length; t += PulseWidth) {
        reflections.push_back({t, size(bits)});
    }
    return record(reflections, length, interval, 0.1, seed);
}

} // namespace quarvel::tie::heldout
