#include "Flair/AnimationPresets.h"
#include "Flair/Easing.h"

#include "ui/Animation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace Ostravelle = Flair::Animation::Ostravelle;

TEST(EasingTest, RubberBandKeepsTheRangeAndResistsBeyondIt) {
    for (double value : {10.0, 12.5, 20.0})
        EXPECT_EQ(Flair::rubberBand(10, value, 20, 0.55), value);
    // One width beyond with c = 1: f = 1 − 1 / 2, so half a width out.
    EXPECT_DOUBLE_EQ(Flair::rubberBand(10, 30, 20, 1), 25);
    EXPECT_DOUBLE_EQ(Flair::rubberBand(10, 0, 20, 1), 5);
    // Never a whole width beyond, however far the value goes.
    EXPECT_LT(Flair::rubberBand(10, 1e12, 20, 0.55), 30);
    EXPECT_GT(Flair::rubberBand(10, -1e12, 20, 0.55), 0);
}

TEST(EasingTest, TheBezierSolverBisectsNineTimesAtMost) {
    // X(0.5) = 0.5 for symmetric control points: the first trial is close enough.
    EXPECT_EQ(Flair::cubicBezierSolve(0.5, 0.3, 0.7), 0.5);
    EXPECT_EQ(Flair::cubicBezierSolve(0.5 + 0.9e-7, 0.3, 0.7), 0.5);
    // x = 0 is never reached by a trial: the upper end halves nine times, the midpoint is 2^-10.
    EXPECT_EQ(Flair::cubicBezierSolve(0, 0.3, 0.7), std::ldexp(1, -10));
    EXPECT_NEAR(Flair::cubicBezier(0, 0.3, 0.7, 0, 1), 2.859e-6, 1e-9);
    EXPECT_EQ(Flair::cubicBezier(0.7, 0.3, 0.7, 0, 1), 0.7743336018174887);
}

TEST(EasingTest, PresetsAreTimingCurvesThatLeaveTheUnitRange) {
    struct Row {
        std::function<ui::Animation(double)> preset;
        double p1x, p1y, p2x, p2y;
    };
    const Row rows[] = {
        {Ostravelle::windUp, 0.33, 0, 0.66, -0.55},
        {Ostravelle::overrun, 0.33, 1.55, 0.66, 1.0},
        {Ostravelle::windUpOverrun, 0.66, -0.55, 0.33, 1.6},
        {Ostravelle::steepEaseIn, 0.95, 0.05, 0.795, 0.035},
        {Ostravelle::steepEaseOut, 0.19, 1.0, 0.22, 1.0},
        {Ostravelle::steepEaseInOut, 1.0, 0, 0, 1.0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.preset(0.35), ui::Animation::timingCurve(row.p1x, row.p1y, row.p2x, row.p2y, 0.35));
        EXPECT_EQ(row.preset(1.5), ui::Animation::timingCurve(row.p1x, row.p1y, row.p2x, row.p2y, 1.5));
    }
    EXPECT_EQ(Ostravelle::windUp(), Ostravelle::windUp(0.35));
    EXPECT_EQ(Ostravelle::steepEaseInOut(), Ostravelle::steepEaseInOut(0.35));

    // The share of the way done over one run, sampled.
    const auto extremes = [](const ui::Animation& animation) {
        const double run = animation.runDuration(1, 0);
        double low = 0, high = 0;
        for (int i = 0; i <= 100; ++i) {
            const double progress = 1 - animation.sample(run * i / 100, run).c1;
            low = std::min(low, progress);
            high = std::max(high, progress);
        }
        return std::pair{low, high};
    };
    EXPECT_LT(extremes(Ostravelle::windUp()).first, -0.01);
    EXPECT_GT(extremes(Ostravelle::overrun()).second, 1.01);
    EXPECT_LT(extremes(Ostravelle::windUpOverrun()).first, -0.01);
    EXPECT_GT(extremes(Ostravelle::windUpOverrun()).second, 1.01);
    const auto [low, high] = extremes(Ostravelle::steepEaseInOut());
    EXPECT_GT(low, -1e-12);
    EXPECT_LT(high, 1 + 1e-12);
}
