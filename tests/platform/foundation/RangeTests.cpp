#include "foundation/Range.h"

#include <gtest/gtest.h>

#include <cmath>

using foundation::ClosedRange;
using foundation::Range;

TEST(RangeTest, EqualBoundsMakeAnEmptyHalfOpenRangeAndAOneValueClosedOne) {
    EXPECT_TRUE(Range<int>(2, 2).isEmpty());
    EXPECT_FALSE(Range<int>(2, 2).contains(2));
    EXPECT_FALSE(Range<int>(1, 3).contains(3));
    EXPECT_TRUE(ClosedRange<double>(0.5, 0.5).contains(0.5));
}

TEST(RangeDeathTest, BoundsOutOfOrderAreAProgrammerError) {
    EXPECT_DEATH(Range<int>(3, 1), "Fatal error: Range requires lowerBound <= upperBound");
    EXPECT_DEATH(ClosedRange<double>(0, std::nan("")), "Fatal error: ClosedRange requires");
}
