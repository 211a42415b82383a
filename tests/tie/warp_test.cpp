#include "formats/quarvel_error.h"
#include "tie/dynamic_warping.h"
#include "tie/proposed_ties.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace quarvel::tie {
namespace {

TEST(TimeDepthRelation, ReadsBothWaysAndRefusesARelationThatTurnsBack) {
    const TimeDepthRelation r({{0, 0}, {1, 1.25}, {2, 2.75}});
    struct Case {
        double depth, twt;
    };
    for (const Case c : {Case{0.5, 0.625}, Case{1.5, 2.0}, Case{-1, -1.25}, Case{3, 4.25}}) {
        EXPECT_DOUBLE_EQ(r.twtAt(c.depth), c.twt) << c.depth;
        EXPECT_DOUBLE_EQ(r.depthAt(c.twt), c.depth) << c.twt;
    }
    EXPECT_EQ(r.intervalVelocities(), (std::vector<double>{1600, 2000 * 1 / 1.5}));
    EXPECT_DOUBLE_EQ(r.scaled(1.25, 0.5).twtAt(2), 2.7);
    EXPECT_EQ(relationCsv(TimeDepthRelation({{0, 0}, {0.5, 0.6667}}), {"limit 25 %"}),
              "# limit 25 %\r\ndepth_m,twt_ms\r\n0.0000,0.000\r\n0.5000,0.667\r\n");
    for (const std::vector<TimeDepthPoint>& bad : std::vector<std::vector<TimeDepthPoint>>{
             {{0, 0}}, {{0, 0}, {1, 0}}, {{0, 0}, {1, 1}, {0.5, 2}}}) {
        EXPECT_THROW(TimeDepthRelation{bad}, QuarvelError) << bad.size();
    }
}

// A 3 m core every centimetre near 1500 m/s, its velocities multiplied by
// `above` down to 1.4 m and by `below` under it.
TimeDepthRelation core(double above, double below) {
    std::vector<double> depths, velocities;
    for (int i = 1; i <= 300; ++i) {
        depths.push_back(0.01 * i);
        velocities.push_back((depths.back() <= 1.4 ? above : below) *
                             (1500 + 40 * std::sin(depths.back() * 5)));
    }
    return TimeDepthRelation(timeDepthTable(depths, velocities));
}

// Gaussian pulses at beds every 7-17 cm, as seen through the relation
// (delayed by `delay` s), sampled every dt from 0 to 6 ms, plus a little noise.
TimeSeries beds(const TimeDepthRelation& relation, double delay, double dt, double noise) {
    TimeSeries s;
    unsigned state = 12345;
    for (int k = 0; k * dt < 6e-3; ++k) {
        const double t = k * dt;
        double v = 0.1;
        double depth = 0.05;
        for (int bed = 0; depth < 2.95; ++bed) {
            const double x = (t - relation.twtAt(depth) / 1000 - delay) / 50e-6;
            v += (0.4 + 0.6 * ((bed * 7) % 5) / 4.0) * std::exp(-x * x);
            depth += 0.07 + 0.10 * ((bed * 3) % 4) / 3.0;
        }
        state = state * 1103515245 + 12345;
        s.time.push_back(t);
        s.value.push_back(v + noise * (static_cast<double>(state >> 16 & 0x7fff) / 32767 - 0.5));
    }
    return s;
}

WarpRequest request(double above, double below, double limit) {
    WarpRequest r;
    r.synthDepth = core(1, 1);
    r.synthetic = beds(r.synthDepth, 0, 10e-6, 0);
    r.trace = beds(core(above, below), 0.05e-3, 66e-6, 0.2);
    r.limits.velocityChange = limit;
    return r;
}

TEST(DynamicWarping, FollowsTwoVelocityErrorsWithinTheLimit) {
    struct Case {
        double above, below, limit;
        bool reachable; // the truth lies within the limit
    };
    const Case cases[] = {{1.06, 0.93, 0.25, true},
                          {0.95, 1.08, 0.25, true},
                          {1.0, 1.0, 0.25, true},
                          {1.2, 0.85, 0.10, false}};
    for (const Case& c : cases) {
        const WarpRequest r = request(c.above, c.below, c.limit);
        const Warper warper(r);
        const Alignment alignment = warper.align(r.trace.value);
        const TimeDepthRelation found = warper.relation(alignment);
        const TimeDepthRelation truth = core(c.above, c.below).scaled(1, 0.05);
        double worst = 0;
        for (double depth = 0; depth <= 3.0; depth += 0.25) {
            worst = std::max(worst, std::abs(found.twtAt(depth) - truth.twtAt(depth)));
        }
        EXPECT_EQ(worst < 0.03, c.reachable) << c.above << " " << worst << " ms";
        EXPECT_GT(alignment.coefficient, alignment.bulkCoefficient - 1e-9) << c.above;
        // Every interval of 20 cm or more keeps its velocity within the limit
        // of the bulk tie's.
        const std::vector<TimeDepthPoint>& p = found.points();
        for (std::size_t i = 0; i < p.size(); i += 3) {
            for (std::size_t k = i + 1; k < p.size(); ++k) {
                if (p[k].depth - p[i].depth < 0.2) {
                    continue;
                }
                const double ratio =
                    (r.synthDepth.twtAt(p[k].depth) - r.synthDepth.twtAt(p[i].depth)) /
                    (p[k].twt - p[i].twt);
                ASSERT_LE(std::abs(ratio - 1), c.limit + 1e-9) << p[i].depth << " " << p[k].depth;
            }
        }
    }
}

TEST(DynamicWarping, PassesThroughFixedTiesAndRefusesWhatItCannotAlign) {
    struct Case {
        std::vector<FixedTie> fixed;
        WarpLimits limits;
        bool possible;
    };
    const TimeDepthRelation truth = core(1.06, 0.93).scaled(1, 0.05);
    const WarpLimits usual;
    const Case cases[] = {
        {{{1.0, truth.twtAt(1.0) / 1000}, {2.31, truth.twtAt(2.31) / 1000 + 20e-6}}, usual, true},
        {{{0.0, 0.1e-3}}, usual, true},
        {{{1.0, 1.0e-3}, {1.1, 1.01e-3}}, usual, false}, // 10 cm in 10 us: far too fast
        {{{1.0, 1.5e-3}, {0.5, 1.6e-3}}, usual, false},  // later but shallower
        {{{3.5, 4e-3}}, usual, false},                   // below the core
        {{}, {0.6, 0.2, 0}, false},
        {{}, {0, 0.2, 0}, false},
        {{}, {0.25, 0, 0}, false},
        {{}, {0.25, 0.2, 0.2}, false}, // lags beyond 100 ms
    };
    for (const Case& c : cases) {
        WarpRequest r = request(1.06, 0.93, 0.25);
        r.fixed = c.fixed;
        r.limits = c.limits;
        if (!c.possible) {
            EXPECT_THROW(Warper{r}, QuarvelError) << c.limits.velocityChange << c.limits.maxLag;
            continue;
        }
        const Warper warper(r);
        const TimeDepthRelation found = warper.relation(warper.align(r.trace.value));
        for (const FixedTie& tie : c.fixed) {
            EXPECT_NEAR(found.twtAt(tie.depth), tie.twt * 1000, 1e-9) << tie.depth;
        }
    }
}

TEST(ProposedTies, LieOnTheMatchedEventsNoTwoWithinTheSpacing) {
    const WarpRequest r = request(1.06, 0.93, 0.25);
    const Warper warper(r);
    const Alignment alignment = warper.align(r.trace.value);
    const TimeDepthRelation truth = core(1.06, 0.93).scaled(1, 0.05);
    const std::vector<ProposedTie> ties = proposeTies(warper, alignment, 0.2);
    ASSERT_GE(ties.size(), 8U);
    for (std::size_t k = 0; k < ties.size(); ++k) {
        EXPECT_NEAR(ties[k].traceTwt, truth.twtAt(ties[k].depth), 0.03) << ties[k].depth;
        EXPECT_NEAR(ties[k].bulkTwt, r.synthDepth.twtAt(ties[k].depth), 0.01) << ties[k].depth;
        EXPECT_GE(ties[k].coefficient, MinLocalCoefficient);
        if (k > 0) {
            EXPECT_GE(ties[k].depth - ties[k - 1].depth, 0.2);
        }
    }
}

} // namespace
} // namespace quarvel::tie
