// The engine's working files: any bytes as "log.dat" or "klauder.dat" (the
// first byte chooses which) are either read into series the engine can
// compute with, or refused with the program's message before anything is
// computed.
#include "engine/engine_inputs.h"
#include "engine/series.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace {

quarvel::WorkDir& workDir() {
    static quarvel::WorkDir dir = [] {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("quarvel-fuzz-engine-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        return quarvel::WorkDir(folder);
    }();
    return dir;
}

void checkLog(const quarvel::WorkDir& dir) {
    const quarvel::MathFun::SyntheticLog log = quarvel::engine::readLog(dir);
    const int n = log.rows();
    if (n < 2 || n > quarvel::Series::Capacity || log.velocity.size() != log.depth.size() ||
        log.density.size() != log.depth.size()) {
        __builtin_trap();
    }
    for (std::size_t i = 0; i < log.depth.size(); ++i) {
        if (!(log.velocity[i] > 0.0) || !(log.density[i] > 0.0) ||
            (i > 0 && !(log.depth[i] > log.depth[i - 1]))) {
            __builtin_trap();
        }
    }
}

void checkWavelet(const quarvel::WorkDir& dir) {
    // The default interval: the chirp source's wavelet at 10 microseconds.
    const quarvel::MathFun::SyntheticWavelet wavelet =
        quarvel::engine::readWavelet(dir, 0.00001, "0.00001");
    const auto m = static_cast<long long>(wavelet.amplitudes.size()) + 1;
    if (m < 2 || 2 * m > quarvel::Series::Capacity) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const bool isLog = (data[0] & 1) == 0;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const quarvel::WorkDir& dir = workDir();
    try {
        quarvel::writeTextFile(dir.file(isLog ? "log.dat" : "klauder.dat"), text);
        if (isLog) {
            checkLog(dir);
        } else {
            checkWavelet(dir);
        }
    } catch (const quarvel::QuarvelError&) {
        // Refused with a message before anything was computed.
    }
    return 0;
}
