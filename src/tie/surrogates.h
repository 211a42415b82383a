#pragma once

#include <complex>
#include <cstdint>
#include <vector>

// Surrogate data for significance tests: series that keep what a trace has
// in common with every trace of its kind (its amplitude spectrum, hence its
// autocorrelation and bandwidth) but not where its events lie.
namespace quarvel::tie {

// The discrete Fourier transform of one length, any length (through
// Bluestein's chirp and our power-of-two transform), with its set-up kept
// for the many transforms a set of surrogates needs.
class Transform {
public:
    explicit Transform(std::size_t length);
    std::vector<std::complex<double>> forward(const std::vector<double>& values) const;
    // The real part of the inverse transform.
    std::vector<double> inverse(std::vector<std::complex<double>> spectrum) const;

private:
    std::vector<std::complex<double>> chirp(std::vector<std::complex<double>> x) const;

    std::size_t length_;
    std::vector<std::complex<double>> chirp_;    // exp(i pi j^2 / n)
    std::vector<std::complex<double>> spectrum_; // of the chirp laid out for the convolution
};

// A series with the same amplitude spectrum and random Fourier phases
// (uniform, drawn from the seed): the transform of the whole series, of its
// own length, so the spectrum is kept exactly. The same seed gives the same
// series on every machine.
std::vector<double> phaseRandomised(const std::vector<double>& values, std::uint64_t seed);

// The surrogates the tie's significance rests on: the iterated amplitude
// adjusted transform of Schreiber and Schmitz (1996). A phase-randomised
// series is Gaussian, while a trace's envelope is a few strong events over a
// quiet floor; such a sparse trace beats smooth surrogates far more often
// than chance says. Each of these holds exactly the trace's values, in
// another order, with its amplitude spectrum kept as closely as both allow.
class AmplitudeAdjustedSurrogates {
public:
    explicit AmplitudeAdjustedSurrogates(const std::vector<double>& values);
    // The surrogate of this seed; the same on every machine. Safe to call
    // from several threads.
    std::vector<double> operator()(std::uint64_t seed) const;

private:
    std::vector<double> values_;
    std::vector<double> sorted_;
    std::vector<double> amplitude_;
    Transform transform_;
};

} // namespace quarvel::tie
