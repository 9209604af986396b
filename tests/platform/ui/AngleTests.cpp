#include "ui/Angle.h"

#include <gtest/gtest.h>

#include <numbers>

using ui::Angle;

TEST(AngleTest, DegreesAndRadiansAreOneValue) {
    EXPECT_DOUBLE_EQ(Angle::degrees(180).radians(), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Angle::radians(std::numbers::pi / 2).degrees(), 90);
    EXPECT_DOUBLE_EQ(Angle::degrees(-90).radians(), -std::numbers::pi / 2);
    EXPECT_EQ(Angle(), Angle::zero());
}

TEST(AngleTest, ArithmeticAndOrder) {
    const Angle quarter = Angle::degrees(90);
    EXPECT_DOUBLE_EQ((quarter + quarter).degrees(), 180);
    EXPECT_DOUBLE_EQ((quarter - Angle::degrees(120)).degrees(), -30);
    EXPECT_DOUBLE_EQ((-quarter).degrees(), -90);
    EXPECT_DOUBLE_EQ((quarter * 3).degrees(), 270);
    EXPECT_DOUBLE_EQ((0.5 * quarter).degrees(), 45);
    EXPECT_DOUBLE_EQ((quarter / 2).degrees(), 45);
    EXPECT_LT(Angle::degrees(10), Angle::degrees(20));
    EXPECT_GT(Angle::zero(), Angle::degrees(-1));
}
