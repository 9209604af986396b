#include "ui/Animatable.h"

#include <gtest/gtest.h>

namespace {

struct Stored {
    double animatableData = 0;
};

// Keeps its value in another unit, as a wrapper scaling its base does.
struct Computed {
    double base = 0;
    double animatableData() const { return base * 64; }
    void setAnimatableData(double value) { base = value / 64; }
};

struct NotAnimatable {
    int count = 0;
};

static_assert(ui::Animatable<Stored>);
static_assert(ui::Animatable<Computed>);
static_assert(!ui::Animatable<NotAnimatable>);
static_assert(ui::VectorArithmetic<ui::AnimatablePair<double, ui::AnimatablePair<float, double>>>);
static_assert(!ui::VectorArithmetic<int>);

TEST(AnimatableTests, PairsInterpolateComponentwiseAndMeasureTheirLength) {
    using Pair = ui::AnimatablePair<double, ui::AnimatablePair<double, double>>;
    Pair from{0, {10, -4}};
    Pair to{2, {20, 4}};
    EXPECT_EQ(ui::interpolate(from, to, 0.5), (Pair{1, {15, 0}}));
    EXPECT_EQ(ui::interpolate(from, to, 1.5), (Pair{3, {25, 8}}));
    EXPECT_DOUBLE_EQ(ui::magnitudeSquared(to - from), 4 + 100 + 64);
    EXPECT_EQ(ui::zeroVector<Pair>(), (Pair{0, {0, 0}}));
}

TEST(AnimatableTests, StoredAndComputedDataReadAndWriteThroughOneSpelling) {
    Stored stored;
    ui::setAnimatableData(stored, 0.25);
    EXPECT_EQ(ui::getAnimatableData(stored), 0.25);

    Computed computed;
    ui::setAnimatableData(computed, 32.0);
    EXPECT_EQ(computed.base, 0.5);
    EXPECT_EQ(ui::getAnimatableData(computed), 32.0);
    static_assert(std::is_same_v<ui::AnimatableDataOf<Computed>, double>);
}

} // namespace
