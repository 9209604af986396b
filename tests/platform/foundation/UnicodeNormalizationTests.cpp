#include "foundation/UnicodeNormalization.h"

#include <gtest/gtest.h>

#include <string>

using foundation::isCanonicallyEquivalent;
using foundation::precomposedStringWithCanonicalMapping;

TEST(UnicodeNormalizationTest, DecomposedTextComposes) {
    EXPECT_EQ(precomposedStringWithCanonicalMapping("cafe\xcc\x81"), "caf\xc3\xa9");
    EXPECT_EQ(precomposedStringWithCanonicalMapping("caf\xc3\xa9"), "caf\xc3\xa9");
    EXPECT_TRUE(isCanonicallyEquivalent("cafe\xcc\x81", "caf\xc3\xa9"));
    EXPECT_FALSE(isCanonicallyEquivalent("cafe", "caf\xc3\xa9"));
    // Compatibility forms are not canonical: the ligature stays.
    EXPECT_FALSE(isCanonicallyEquivalent("\xef\xac\x81", "fi"));
}

TEST(UnicodeNormalizationTest, MalformedTextIsLeftAlone) {
    const std::string one("\xff\xfe", 2);
    const std::string other("\xfe\xff", 2);
    EXPECT_EQ(precomposedStringWithCanonicalMapping(one), one);
    EXPECT_FALSE(isCanonicallyEquivalent(one, other));
    EXPECT_EQ(precomposedStringWithCanonicalMapping(std::string("a\0b", 3)), std::string("a\0b", 3));
}
