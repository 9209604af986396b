#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::NSNumber;

TEST(NSNumberTest, GettersConvertAcrossKinds) {
    EXPECT_EQ(NSNumber(2.9).integerValue(), 2);
    EXPECT_EQ(NSNumber(-2.9f).integerValue(), -2);
    EXPECT_EQ(NSNumber(double(NAN)).integerValue(), 0);
    EXPECT_EQ(NSNumber(1e300).integerValue(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(NSNumber(-1e300).integerValue(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(NSNumber(true).integerValue(), 1);
    EXPECT_TRUE(NSNumber(1).boolValue());
    EXPECT_FALSE(NSNumber(0.0).boolValue());
    EXPECT_TRUE(NSNumber(0.25f).boolValue());
    EXPECT_EQ(NSNumber(0.1f).doubleValue(), double(0.1f));
    EXPECT_EQ(NSNumber(0.1).floatValue(), 0.1f);
    EXPECT_EQ(NSNumber(std::numeric_limits<std::int64_t>::min()).integerValue(),
              std::numeric_limits<std::int64_t>::min());
}

TEST(NSNumberTest, ArchivesKeepTheKind) {
    for (const NSNumber& number : {NSNumber(-7), NSNumber(0.5f), NSNumber(1e-300), NSNumber(false)}) {
        const auto back =
            KeyedUnarchiver::unarchivedObject<NSNumber>(KeyedArchiver::archivedData(number, true));
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, number);
    }
}
