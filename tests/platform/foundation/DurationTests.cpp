#include "foundation/Duration.h"

#include <gtest/gtest.h>

#include <chrono>

using foundation::Duration;
using namespace std::chrono_literals;

TEST(DurationTest, ChronoDurationsSplitIntoSecondsAndAttosecondsOfOneSign) {
    EXPECT_EQ(Duration(1500ms), Duration(1, 500'000'000'000'000'000));
    EXPECT_EQ(Duration(2h), Duration(7200, 0));
    EXPECT_EQ(Duration(1ns), Duration(0, 1'000'000'000));
    EXPECT_EQ(Duration(-1500ms), Duration(-1, -500'000'000'000'000'000));
    // The whole span of nanoseconds fits: the remainder is below a second.
    const auto longest = std::chrono::nanoseconds::max();
    EXPECT_EQ(Duration(longest),
              Duration(longest.count() / 1'000'000'000, longest.count() % 1'000'000'000 * 1'000'000'000));
}
