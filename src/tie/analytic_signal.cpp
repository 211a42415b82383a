#include "tie/analytic_signal.h"

#include "engine/fft.h"

#include <complex>
#include <cstddef>

namespace quarvel::tie {

using kernels::fft;

std::vector<double> envelope(const std::vector<double>& values) {
    if (values.empty()) {
        return {};
    }
    std::size_t n = 1;
    while (n < values.size()) {
        n <<= 1;
    }
    n <<= 1;
    std::vector<std::complex<double>> spectrum(n);
    for (std::size_t i = 0; i < values.size(); ++i) {
        spectrum[i] = values[i];
    }
    fft(spectrum, false);
    // Keep the zero and Nyquist frequencies, double the positive ones and
    // drop the negative ones: the inverse is then x + i H(x).
    for (std::size_t i = 1; i < n / 2; ++i) {
        spectrum[i] *= 2.0;
    }
    for (std::size_t i = n / 2 + 1; i < n; ++i) {
        spectrum[i] = 0.0;
    }
    fft(spectrum, true);
    std::vector<double> result(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        result[i] = std::abs(spectrum[i]);
    }
    return result;
}

} // namespace quarvel::tie
