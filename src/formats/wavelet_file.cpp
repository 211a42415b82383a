#include "formats/wavelet_file.h"

#include "formats/series_file.h"
#include "formats/text_file.h"

namespace quarvel {

WaveletFile parseWaveletFile(std::string_view text, const RecordReading& reading) {
    const FieldRecords fields =
        readFieldLines(text, {reading.fileName, 2, WaveletFields, reading.rule, reading.maxRecords,
                              reading.tooMany});
    WaveletFile file;
    file.time.reserve(fields.count(2));
    file.value.reserve(fields.count(2));
    for (std::size_t i = 0; i + 1 < fields.values.size(); i += 2) {
        file.time.push_back(fields.values[i]);
        file.value.push_back(fields.values[i + 1]);
    }
    return file;
}

WaveletFile readWaveletGraphFile(const std::filesystem::path& path) {
    return parseWaveletFile(readTextPrefix(path, ListingCapacity),
                            {path.string(), FieldRule::TokensWhileAnyCharacter, NoRecordLimit, {}});
}

} // namespace quarvel
