#include "foundation/CharacterSet.h"
#include "foundation/PercentEncoding.h"
#include "foundation/RegularExpression.h"
#include "foundation/StringBoolValue.h"
#include "foundation/TextCase.h"
#include "foundation/TextSearch.h"

#include <gtest/gtest.h>

using foundation::StringCompareOptions;

TEST(TextCaseTest, CapitalizedTitlesEveryWordAndLowercasedFollowsUnicode) {
    EXPECT_EQ(foundation::capitalized("hello wORLD"), "Hello World");
    EXPECT_EQ(foundation::capitalized("ßa"), "Ssa");
    EXPECT_EQ(foundation::capitalized("9lives"), "9lives");
    EXPECT_EQ(foundation::capitalized("ǆemal"), "ǅemal"); // title case, not upper case
    EXPECT_EQ(foundation::capitalized(""), "");
    EXPECT_EQ(foundation::lowercased("ÄÖÜ İ ΣΑΣ"), "äöü i̇ σας");
    EXPECT_EQ(foundation::lowercased("A\xFF"
                                     "B"),
              "a\xFF"
              "b"); // a stray byte is kept
}

TEST(TextSearchTest, CaseInsensitiveSearchFoldsFullyWithoutLocale) {
    using Range = std::pair<std::size_t, std::size_t>;
    constexpr auto ci = StringCompareOptions::caseInsensitive;
    EXPECT_EQ(foundation::rangeOfText("Grüße", "ÜSSE", ci), (Range{2, 7}));
    EXPECT_EQ(foundation::rangeOfText("Grüße", "üße"), (Range{2, 7}));
    EXPECT_EQ(foundation::rangeOfText("Grüße", "ÜSSE"), std::nullopt);
    EXPECT_EQ(foundation::rangeOfText("abc", "", ci), std::nullopt);
    // "s" alone never matches half of the folding of "ß".
    EXPECT_EQ(foundation::rangeOfText("ß", "s", ci), std::nullopt);
    EXPECT_EQ(foundation::rangeOfText("I", "ı", ci), std::nullopt); // no Turkish rules

    EXPECT_EQ(foundation::replacingOccurrences("Über über ÜBER", "über", "x", ci), "x x x");
    EXPECT_EQ(foundation::replacingOccurrences("aaa", "aa", "b"), "ba");
    EXPECT_EQ(foundation::replacingOccurrences("a\xFF"
                                               "b",
                                               "\xFF", "-", ci),
              "a-b");
}

TEST(PercentEncodingTest, EncodesUTF8BytesOutsideTheSetInUpperCaseHex) {
    const auto& path = foundation::CharacterSet::urlPathAllowed();
    EXPECT_EQ(foundation::addingPercentEncoding("a b/é?#%", path), "a%20b/%C3%A9%3F%23%25");
    EXPECT_EQ(foundation::addingPercentEncoding("AZaz09!$&'()*+,-./:=@_~", path), "AZaz09!$&'()*+,-./:=@_~");
    EXPECT_EQ(foundation::addingPercentEncoding("😀", path), "%F0%9F%98%80");
    EXPECT_EQ(foundation::addingPercentEncoding("a\xC3", path), std::nullopt);
}

TEST(BoolValueTest, SignZerosThenTheDecidingCharacter) {
    for (const char* yes : {"  +0001", "007", "Yes", "t", "-5", " \t y"})
        EXPECT_TRUE(foundation::boolValue(yes)) << yes;
    for (const char* no : {"-0", "0x1", "no", "", "+-1", "00", " ", "\n1"})
        EXPECT_FALSE(foundation::boolValue(no)) << no;
}

TEST(RegularExpressionTest, MatchesWholeTextAndReportsBadPatterns) {
    EXPECT_TRUE(foundation::matchesRegularExpression("abc", "[a-c]+"));
    EXPECT_FALSE(foundation::matchesRegularExpression("abcd", "[a-c]+"));
    EXPECT_FALSE(foundation::matchesRegularExpression("xabc", "abc"));
    EXPECT_TRUE(foundation::matchesRegularExpression("", "a*"));
    EXPECT_TRUE(foundation::matchesRegularExpression("é", "."));
    EXPECT_TRUE(foundation::matchesRegularExpression("a\xFF", "a\\x{FFFD}"));
    EXPECT_THROW(foundation::matchesRegularExpression("a", "(a"), foundation::RegularExpressionError);
}
