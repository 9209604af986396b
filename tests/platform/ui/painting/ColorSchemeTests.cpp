#include "ui/ColorScheme.h"

#include <gtest/gtest.h>

TEST(ColorSchemeTest, DescribesBothSchemes) {
    EXPECT_EQ(ui::description(ui::ColorScheme::light), "light");
    EXPECT_EQ(ui::description(ui::ColorScheme::dark), "dark");
}
