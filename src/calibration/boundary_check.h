#pragma once

#include "calibration/boundaries.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quarvel {

// The pixel rectangle of the calibration (xmin, xmax, ymin, ymax), each a
// whole number.
struct PixelBounds {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;

    bool operator==(const PixelBounds&) const = default;
};

// A calibration field whose text cannot be used, with the message that names
// it by the caption the user sees ("Y max (pixels)"). Equal Y min and Y max
// are one problem of both fields.
struct BoundaryProblem {
    std::vector<std::size_t> fields; // indexes in file order
    std::string message;

    bool operator==(const BoundaryProblem&) const = default;
};

// The caption of a field by its index in file order: "Top (mm)" ... "Y max
// (pixels)".
std::string_view boundaryCaption(std::size_t field);

// The pixel fields as the read-outs over the photograph convert them: each a
// whole number, and Y min different from Y max, since the rows between them
// are spread over the depths. The first problem met, in file order, when
// they cannot be.
std::variant<PixelBounds, BoundaryProblem> convertPixelBounds(const Boundaries& boundaries);

// Everything wrong with the calibration, in file order: Top and Bottom that
// are not numbers, and the problems of the pixel fields above. Left and Right
// are only kept, so any text does.
std::vector<BoundaryProblem> boundaryProblems(const Boundaries& boundaries);

// The final plot's depth axis runs from Top to Bottom, each read as the
// whole number of millimetres its text starts with: why those give it no
// span ("0" and "nan" are both 0 mm), or nothing when they give one.
std::optional<std::string> depthAxisProblem(const Boundaries& boundaries);

// What the user is told when a boundary file holds fields that cannot be
// used: the file and one line per problem.
std::string boundaryFileProblemsMessage(std::string_view fileName,
                                        const std::vector<BoundaryProblem>& problems);

// Which problems the user has already been told of, so that a field that
// fails on every move over the photograph is reported once, and again only
// after one of the fields it concerns has changed its text.
class BoundaryReports {
public:
    // True when the problem has not been told since its fields last
    // changed; from now on it counts as told.
    bool tell(const BoundaryProblem& problem);
    // Every problem about a field whose text differs between the two
    // calibrations may be told again.
    void textsChanged(const Boundaries& before, const Boundaries& after);
    // Everything may be told again (a new photograph).
    void forget();

private:
    std::vector<std::vector<std::size_t>> told_;
};

} // namespace quarvel
