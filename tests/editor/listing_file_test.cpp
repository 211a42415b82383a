#include "editor/listing_file.h"
#include "formats/quarvel_error.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

// The check reads a listing as the trace panel does, so a line holding one
// number takes its amplitude from the next line there too.
TEST(CheckTraceListing, PassesWhatTheTracePanelCanDraw) {
    std::string longListing;
    for (int i = 1; i <= 64001; ++i) {
        longListing += std::to_string(i) + " " + std::to_string(i % 7) + "\n";
    }
    const struct {
        const char* listing;
        std::string refusal; // empty: passes
    } cases[] = {
        {"0.001 0.5\r\n0.002 -0.5 nan\r\n", ""},
        {"0.001\n0.002 0.5\n", "the trace needs at least two samples with different times"},
        {"0.001\nnan 2\n0.002 3\n", "line 2 holds nan"},
        {"0.001 1\n0.003 2\n0.002 3\n",
         "the times must increase from sample to sample; sample 3 (0.002 ms) is not later than "
         "the one before (0.003 ms)"},
        {longListing.c_str(), "it holds more than 64000 samples"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listing);
        if (c.refusal.empty()) {
            EXPECT_NO_THROW(checkTraceListing(c.listing));
            continue;
        }
        try {
            checkTraceListing(c.listing);
            ADD_FAILURE() << "not refused";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(e.what(), "The trace listing cannot be drawn: " + c.refusal +
                                    ". \"trace.txt\" was left as it was.");
        }
    }
}

} // namespace
} // namespace quarvel
