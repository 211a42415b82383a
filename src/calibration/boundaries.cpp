#include "calibration/boundaries.h"

#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace quarvel {

namespace fs = std::filesystem;

Boundaries Boundaries::empty() {
    std::array<std::string, FieldCount> none{};
    return fromTexts(none);
}

std::array<std::string, Boundaries::FieldCount> Boundaries::texts() const {
    return {Top, Bottom, Left, Right, xmin, xmax, ymin, ymax};
}

Boundaries Boundaries::fromTexts(const std::array<std::string, FieldCount>& t) {
    Boundaries b;
    b.Top = t[0];
    b.Bottom = t[1];
    b.Left = t[2];
    b.Right = t[3];
    b.xmin = t[4];
    b.xmax = t[5];
    b.ymin = t[6];
    b.ymax = t[7];
    return b;
}

std::string boundaryFileText(const Boundaries& boundaries) {
    TextBuilder builder;
    for (const std::string& text : boundaries.texts()) {
        builder.line(text);
    }
    return builder.text();
}

Boundaries parseBoundaryText(std::string_view text, const std::string& fileName) {
    if (text.find('\0') != std::string_view::npos) {
        throwCannotOpen(fileName, "It is not a text file.", ErrorKind::InvalidData);
    }
    const std::vector<std::string> lines = splitLines(text);
    std::array<std::string, Boundaries::FieldCount> texts{};
    const std::size_t count = std::min(lines.size(), texts.size());
    std::copy_n(lines.begin(), count, texts.begin());
    return Boundaries::fromTexts(texts);
}

void writeBoundaryFile(const fs::path& path, const Boundaries& boundaries) {
    writeTextFile(path, boundaryFileText(boundaries));
}

Boundaries readBoundaryFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) {
        return Boundaries::empty();
    }
    return parseBoundaryText(readTextFile(path, MaxBoundaryFileBytes), path.string());
}

bool boundaryFileExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec) && !fs::is_directory(path, ec);
}

namespace {

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

fs::path boundaryFileFor(const fs::path& imagePath) {
    fs::path exact = imagePath;
    exact.replace_extension(".BND");
    if (boundaryFileExists(exact)) {
        return exact;
    }
    const fs::path folder = exact.has_parent_path() ? exact.parent_path() : fs::path(".");
    const std::string wanted = exact.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (sameNameIgnoringCase(name, wanted) && boundaryFileExists(it->path())) {
            return exact.has_parent_path() ? it->path() : fs::path(name);
        }
    }
    return exact;
}

} // namespace quarvel
