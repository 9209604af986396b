#include "foundation/Range.h"

#include <gtest/gtest.h>

#include <cmath>

using foundation::ClosedRange;
using foundation::Range;

TEST(RangeTest, HalfOpenRangesExcludeTheirUpperBound) {
    const Range<int> range(1, 3);
    EXPECT_TRUE(range.contains(1));
    EXPECT_FALSE(range.contains(3));
    EXPECT_FALSE(range.isEmpty());
    EXPECT_TRUE(Range<int>(2, 2).isEmpty());
    EXPECT_FALSE(Range<int>(2, 2).contains(2));
    EXPECT_EQ(Range<int>::uncheckedBounds(1, 3), range);
}

TEST(RangeTest, ClosedRangesIncludeBothBounds) {
    const ClosedRange<double> range(0.5, 0.5);
    EXPECT_TRUE(range.contains(0.5));
    EXPECT_FALSE(range.contains(0.6));
    EXPECT_EQ(range.lowerBound(), 0.5);
}

TEST(RangeDeathTest, BoundsOutOfOrderAreAProgrammerError) {
    EXPECT_DEATH(Range<int>(3, 1), "Fatal error: Range requires lowerBound <= upperBound");
    EXPECT_DEATH(ClosedRange<double>(0, std::nan("")), "Fatal error: ClosedRange requires");
}
