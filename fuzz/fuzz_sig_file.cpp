// Chirp signal files (".SIG"): any bytes are refused as no signal file, or
// give the four parameter texts as the chirp window loads them, which save
// back as the bytes they came from; GO either refuses them with a message
// naming the field, or makes a sweep whose wavelet the engine then reads.
#include "chirp/chirp_source.h"
#include "chirp/signal_file.h"
#include "engine/engine_inputs.h"
#include "formats/line_encoding.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

// Sweeps up to this many samples are computed in full; longer ones (up to
// 32 000, a quarter of a second each) are only checked, to keep runs short.
constexpr int ComputedSweepSamples = 3000;

const quarvel::WorkDir& workDir() {
    static const quarvel::WorkDir dir = [] {
        const auto folder = std::filesystem::temp_directory_path() /
                            ("quarvel-fuzz-sig-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        return quarvel::WorkDir(folder);
    }();
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quarvel::SignalFile file;
    try {
        file = quarvel::parseSignalFile(text, "fuzz.SIG");
    } catch (const quarvel::QuarvelError&) {
        return 0; // refused as not a chirp signal file
    }
    const quarvel::ChirpTexts& texts = file.texts;
    const std::vector<std::string> lines = quarvel::splitLines(text);
    std::string expected;
    for (std::size_t i = 0; i < 4; ++i) {
        expected += i < lines.size() ? lines[i] : std::string();
        expected += quarvel::LineEnd;
    }
    for (const std::string* field : {&texts.width, &texts.start, &texts.end, &texts.interval}) {
        if (!quarvel::isValidUtf8(*field)) {
            __builtin_trap();
        }
    }
    if (quarvel::formatSignalFile(file) != expected) {
        __builtin_trap();
    }

    const bool refused = quarvel::chirpParameterProblem(texts).has_value();
    quarvel::ChirpParameters parameters;
    try {
        parameters = quarvel::checkChirpParameters(texts);
    } catch (const quarvel::QuarvelError&) {
        if (!refused) {
            __builtin_trap();
        }
        return 0;
    }
    if (refused || !(parameters.width > 0.0) || !(parameters.interval > 0.0) ||
        !std::isfinite(parameters.start) || !std::isfinite(parameters.end) ||
        parameters.sampleCount < 1 || parameters.sampleCount > quarvel::MaxSweepSamples) {
        __builtin_trap();
    }
    if (parameters.sampleCount > ComputedSweepSamples) {
        return 0;
    }
    try {
        quarvel::ChirpSource(texts, workDir());
        quarvel::engine::readWavelet(workDir(), parameters.interval, texts.interval);
    } catch (const quarvel::QuarvelError&) {
        // A sweep beyond what the sine can be computed for: refused.
    }
    return 0;
}
