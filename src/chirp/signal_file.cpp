#include "chirp/signal_file.h"

#include "formats/line_encoding.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <vector>

namespace quarvel {
namespace {

// The fields in the order of the file's lines.
constexpr std::array<std::string ChirpTexts::*, 4> Fields{&ChirpTexts::width, &ChirpTexts::start,
                                                          &ChirpTexts::end, &ChirpTexts::interval};

} // namespace

SignalFile parseSignalFile(std::string_view content, std::string_view path) {
    if (content.find('\0') != std::string_view::npos) {
        throwCannotOpen(std::string(path), "It is not a chirp signal file.",
                        ErrorKind::InvalidData);
    }
    const std::vector<std::string> lines = splitLines(content);
    SignalFile file;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        DecodedLine decoded = decodeLine(i < lines.size() ? lines[i] : std::string());
        file.texts.*Fields[i] = std::move(decoded.text);
        file.latin1[i] = decoded.latin1;
    }
    return file;
}

SignalFile readSignalFile(const std::filesystem::path& path) {
    return parseSignalFile(readTextFile(path, MaxSignalFileBytes), path.string());
}

std::string formatSignalFile(const SignalFile& file) {
    TextBuilder text;
    for (std::size_t i = 0; i < Fields.size(); ++i) {
        text.line(encodeLine(file.texts.*Fields[i], file.latin1[i]));
    }
    return text.take();
}

void writeSignalFile(const std::filesystem::path& path, const SignalFile& file) {
    writeTextFile(path, formatSignalFile(file));
}

} // namespace quarvel
