// Which calibration fields cannot be used, and telling each problem once.
#include "calibration/boundary_check.h"

#include <gtest/gtest.h>
#include <string>
#include <variant>
#include <vector>

namespace quarvel {
namespace {

Boundaries withField(std::size_t field, const std::string& text) {
    auto texts = Boundaries{}.texts();
    texts.at(field) = text;
    return Boundaries::fromTexts(texts);
}

TEST(BoundaryCheck, EachFieldIsCheckedByTheRuleOfItsUse) {
    const std::string pixels = ": it needs a whole number of pixels.";
    const std::string millimetres = ": it needs a number of millimetres.";
    const std::string equalRows = "\"Y min (pixels)\" and \"Y max (pixels)\" are both 25: they "
                                  "must differ to give the rows between them depths.";
    const struct {
        std::size_t field;
        const char* text;
        std::vector<std::string> problems; // empty: usable
    } cases[] = {
        {0, " -12.5e1 ", {}},
        {0, "", {"\"Top (mm)\" is empty" + millimetres}},
        {1, "100mm", {"\"Bottom (mm)\" holds '100mm'" + millimetres}},
        {1,
         " 0.0 ",
         {"\"Top (mm)\" and \"Bottom (mm)\" are both 0: they must differ to give the rows "
          "between them depths."}},
        {2, "anything", {}},
        {3, "", {}},
        {4, " -3 ", {}},
        {4, "2.5", {"\"X min (pixels)\" holds '2.5'" + pixels}},
        {5, "99999999999", {"\"X max (pixels)\" holds '99999999999'" + pixels}},
        {6,
         "1000",
         {"\"Y min (pixels)\" and \"Y max (pixels)\" are both 1000: they must differ "
          "to give the rows between them depths."}},
        {7, "25", {equalRows}},
        {7, "ten", {"\"Y max (pixels)\" holds 'ten'" + pixels}},
        {7, "", {"\"Y max (pixels)\" is empty" + pixels}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(boundaryCaption(c.field)) + " = '" + c.text + "'");
        std::vector<std::string> found;
        for (const BoundaryProblem& problem : boundaryProblems(withField(c.field, c.text))) {
            found.push_back(problem.message);
        }
        EXPECT_EQ(found, c.problems);
    }
}

// Top "0" with Bottom "nan" once ended the batch plot in a division by zero.
TEST(BoundaryCheck, TheFinalPlotsDepthAxisNeedsTopAndBottomApart) {
    EXPECT_FALSE(depthAxisProblem(withField(1, "1000")));
    EXPECT_FALSE(depthAxisProblem(withField(1, "-1.5")));
    EXPECT_EQ(depthAxisProblem(withField(1, "nan")),
              "The final plot's depth axis runs from \"Top (mm)\" to \"Bottom (mm)\", each the "
              "whole number of millimetres its text starts with; '0' and 'nan' both give 0: "
              "correct them in Core Photo Parameters.");
    EXPECT_TRUE(depthAxisProblem(withField(1, "0.9")));
}

TEST(BoundaryCheck, TheReadOutMeetsThePixelFieldsInFileOrder) {
    const Boundaries good = Boundaries::fromTexts({"x", "y", "", "", "5", "60", "20", "420"});
    EXPECT_EQ(std::get<PixelBounds>(convertPixelBounds(good)), (PixelBounds{5, 60, 20, 420}));

    const Boundaries bad = Boundaries::fromTexts({"", "", "", "", "5", "a", "20", "b"});
    const auto first = std::get<BoundaryProblem>(convertPixelBounds(bad));
    EXPECT_EQ(first.fields, std::vector<std::size_t>{5});
    EXPECT_EQ(boundaryProblems(bad).size(), 4U) << "a file's check names every field";

    const auto rows = std::get<BoundaryProblem>(convertPixelBounds(withField(7, "25")));
    EXPECT_EQ(rows.fields, (std::vector<std::size_t>{6, 7}));
}

TEST(BoundaryCheck, AProblemIsToldAgainOnlyAfterOneOfItsFieldsChanged) {
    const BoundaryProblem ymax{{7}, "ymax"};
    const BoundaryProblem rows{{6, 7}, "rows"};
    BoundaryReports reports;
    EXPECT_TRUE(reports.tell(ymax));
    EXPECT_FALSE(reports.tell(ymax));
    EXPECT_TRUE(reports.tell(rows));

    const Boundaries before = withField(7, "ten");
    reports.textsChanged(before, withField(0, "5")); // Top and Y max changed
    EXPECT_TRUE(reports.tell(ymax));
    EXPECT_TRUE(reports.tell(rows));
    reports.textsChanged(before, before);
    EXPECT_FALSE(reports.tell(ymax));
    reports.textsChanged(withField(6, "1"), withField(6, "2"));
    EXPECT_FALSE(reports.tell(ymax)) << "Y min is not a field of this problem";
    EXPECT_TRUE(reports.tell(rows));

    reports.forget();
    EXPECT_TRUE(reports.tell(ymax));
    EXPECT_TRUE(reports.tell(rows));
}

TEST(BoundaryCheck, TheFileMessageNamesTheFileAndEachProblem) {
    EXPECT_EQ(boundaryFileProblemsMessage("c.BND", {{{4}, "one"}, {{6, 7}, "two"}}),
              "The boundary file \"c.BND\" holds values that cannot be used; the fields keep "
              "them until they are corrected:\none\ntwo");
}

} // namespace
} // namespace quarvel
