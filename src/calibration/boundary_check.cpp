#include "calibration/boundary_check.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quarvel {

namespace {

constexpr std::array<std::string_view, Boundaries::FieldCount> Captions = {
    "Top (mm)",       "Bottom (mm)",    "Left (mm)",      "Right (mm)",
    "X min (pixels)", "X max (pixels)", "Y min (pixels)", "Y max (pixels)"};

constexpr std::size_t TopField = 0;
constexpr std::size_t BottomField = 1;
constexpr std::size_t FirstPixelField = 4;
constexpr std::size_t YminField = 6;
constexpr std::size_t YmaxField = 7;

std::string quotedCaption(std::size_t field) {
    std::string quoted = "\"";
    quoted.append(Captions.at(field));
    quoted.push_back('"');
    return quoted;
}

// "<caption>" is empty / holds '<text>': it needs <what>.
BoundaryProblem fieldProblem(std::size_t field, const std::string& text, std::string_view what) {
    const std::string holds = text.empty() ? " is empty" : " holds '" + text + "'";
    return {{field}, quotedCaption(field) + holds + ": it needs " + std::string(what) + "."};
}

} // namespace

std::string_view boundaryCaption(std::size_t field) {
    return Captions.at(field);
}

std::variant<PixelBounds, BoundaryProblem> convertPixelBounds(const Boundaries& boundaries) {
    const auto texts = boundaries.texts();
    std::array<int, 4> pixels{};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::size_t field = FirstPixelField + i;
        const std::optional<int> value = numbers::tryParseInteger(texts.at(field));
        if (!value) {
            return fieldProblem(field, texts.at(field), "a whole number of pixels");
        }
        pixels.at(i) = *value;
    }
    const PixelBounds bounds{pixels[0], pixels[1], pixels[2], pixels[3]};
    if (bounds.top == bounds.bottom) {
        return BoundaryProblem{{YminField, YmaxField},
                               quotedCaption(YminField) + " and " + quotedCaption(YmaxField) +
                                   " are both " + numbers::formatInteger(bounds.top) +
                                   ": they must differ to give the rows between them depths."};
    }
    return bounds;
}

std::vector<BoundaryProblem> boundaryProblems(const Boundaries& boundaries) {
    std::vector<BoundaryProblem> problems;
    const auto texts = boundaries.texts();
    for (const std::size_t field : {TopField, BottomField}) {
        if (!numbers::tryParseNumber(texts.at(field))) {
            problems.push_back(fieldProblem(field, texts.at(field), "a number of millimetres"));
        }
    }
    // Every row would lie at one depth, and the time scale divides by the span.
    const auto top = numbers::tryParseNumber(texts.at(TopField));
    if (top && top == numbers::tryParseNumber(texts.at(BottomField))) {
        problems.push_back({{TopField, BottomField},
                            quotedCaption(TopField) + " and " + quotedCaption(BottomField) +
                                " are both " + numbers::formatSignificant(*top, 9) +
                                ": they must differ to give the rows between them depths."});
    }
    bool pixelsWhole = true;
    for (std::size_t field = FirstPixelField; field < Boundaries::FieldCount; ++field) {
        if (!numbers::tryParseInteger(texts.at(field))) {
            problems.push_back(fieldProblem(field, texts.at(field), "a whole number of pixels"));
            pixelsWhole = false;
        }
    }
    if (pixelsWhole) {
        auto converted = convertPixelBounds(boundaries);
        if (auto* problem = std::get_if<BoundaryProblem>(&converted)) {
            problems.push_back(std::move(*problem));
        }
    }
    return problems;
}

std::optional<std::string> depthAxisProblem(const Boundaries& boundaries) {
    const int top = numbers::parseIntegerPrefix(boundaries.Top);
    if (top != numbers::parseIntegerPrefix(boundaries.Bottom)) {
        return std::nullopt;
    }
    return formatMessage("The final plot's depth axis runs from %s to %s, each the whole number "
                         "of millimetres its text starts with; '%s' and '%s' both give %s: "
                         "correct them in Core Photo Parameters.",
                         {quotedCaption(TopField), quotedCaption(BottomField), boundaries.Top,
                          boundaries.Bottom, numbers::formatInteger(top)});
}

std::string boundaryFileProblemsMessage(std::string_view fileName,
                                        const std::vector<BoundaryProblem>& problems) {
    std::string message = "The boundary file \"" + std::string(fileName) +
                          "\" holds values that cannot be used; the fields keep them until "
                          "they are corrected:";
    for (const BoundaryProblem& problem : problems) {
        message += "\n" + problem.message;
    }
    return message;
}

bool BoundaryReports::tell(const BoundaryProblem& problem) {
    if (std::find(told_.begin(), told_.end(), problem.fields) != told_.end()) {
        return false;
    }
    told_.push_back(problem.fields);
    return true;
}

void BoundaryReports::textsChanged(const Boundaries& before, const Boundaries& after) {
    const auto old = before.texts();
    const auto now = after.texts();
    std::erase_if(told_, [&](const std::vector<std::size_t>& fields) {
        return std::any_of(fields.begin(), fields.end(),
                           [&](std::size_t field) { return old.at(field) != now.at(field); });
    });
}

void BoundaryReports::forget() {
    told_.clear();
}

} // namespace quarvel
