#pragma once

#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/synthetic.h"
#include "scratch_dir.h"

#include <cmath>

// The largest realistic core the tie benchmarks run on: 10 m every
// centimetre, beds every 40 cm, velocities near 1500 m/s, under a 1-12 kHz
// chirp sampled every 5 us.
namespace quarvel {

// The log, its velocities multiplied by `above` down to `split` m and by
// `below` under it.
inline MathFun::SyntheticLog tenMetreCore(double above = 1.0, double below = 1.0,
                                          double split = 5.0) {
    MathFun::SyntheticLog log;
    for (int i = 1; i <= 1000; ++i) {
        const double depth = 0.01 * i;
        const bool bed = std::fmod(depth, 0.4) < 0.03;
        log.depth.push_back(depth);
        log.velocity.push_back((depth <= split ? above : below) *
                               (1500 + 30 * std::sin(depth * 3) + (bed ? 150 : 0)));
        log.density.push_back(bed ? 1.95 : 1.6 + 0.05 * std::cos(depth * 7));
    }
    return log;
}

inline MathFun::SyntheticParameters tenMetreChirp() {
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = 1000;
    parameters.endFrequency = 12000;
    parameters.samplingInterval = 5e-6;
    return parameters;
}

// The chirp's Klauder wavelet, made by the chirp source.
inline MathFun::SyntheticWavelet tenMetreWavelet() {
    const ScratchDir scratch;
    const WorkDir dir{scratch.folder};
    ChirpTexts chirp;
    chirp.start = "1000";
    chirp.end = "12000";
    chirp.interval = "0.000005";
    ChirpSource(chirp, dir);
    return engine::readWavelet(dir, 0.000005, "0.000005");
}

} // namespace quarvel
