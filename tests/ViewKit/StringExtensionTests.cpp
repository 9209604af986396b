#include "ViewKit/CollectionAccess.h"
#include "ViewKit/StringExtensions.h"
#include "ViewKit/StringLines.h"
#include "ViewKit/ValidationRegex.h"

#include "foundation/UnicodeNormalization.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

using ViewKit::PartialRangeFrom;
using ViewKit::PartialRangeThrough;
using ViewKit::PartialRangeUpTo;
using Positions = foundation::Range<std::size_t>;
using ClosedPositions = foundation::ClosedRange<std::size_t>;

TEST(ValidationRegexTest, EmailAcceptsOneTrailingSpaceAndBadPatternsMatchNothing) {
    const auto& email = ViewKit::ValidationRegex::email;
    EXPECT_EQ(email.expression.size(), 48u);
    EXPECT_TRUE(email.matches("ada@example.org"));
    EXPECT_TRUE(ViewKit::matches("ada@example.org ", email));
    EXPECT_FALSE(email.matches("ada@example.org  "));
    EXPECT_FALSE(email.matches("ada@example.o"));
    EXPECT_FALSE(email.matches(" ada@example.org"));
    EXPECT_FALSE(email.matches("ada@example.org\nx@y.zz")); // whole text, not a line

    const ViewKit::ValidationRegex broken{"[a-"};
    EXPECT_FALSE(broken.matches("a"));
    EXPECT_FALSE(broken.matches("[a-")); // asked twice: still false, logged once
    EXPECT_TRUE(ViewKit::ValidationRegex{"(?i)abc"}.matches("ABC"));
    EXPECT_FALSE(ViewKit::ValidationRegex{"abc"}.matches("ABC"));
}

TEST(StringExtensionTest, BoolValueReadsLikeANumberObject) {
    for (const char* yes : {"  +0001", "007", "Yes", "y", "true", "T", "\t9"})
        EXPECT_TRUE(ViewKit::boolValue(yes)) << yes;
    for (const char* no : {"-0", "0x1", "no", "", "  ", "+", "false", "0"})
        EXPECT_FALSE(ViewKit::boolValue(no)) << no;
}

TEST(StringExtensionTest, CapitalizedFirstTouchesOnlyTheFirstCharacter) {
    EXPECT_EQ(ViewKit::capitalizedFirst(""), "");
    EXPECT_EQ(ViewKit::capitalizedFirst("9lives"), "9lives");
    EXPECT_EQ(ViewKit::capitalizedFirst("ßa"), "Ssa");
    EXPECT_EQ(ViewKit::capitalizedFirst("hello wORLD"), "Hello wORLD");
    const std::string decomposed = "e\u0301clair";
    EXPECT_TRUE(foundation::isCanonicallyEquivalent(ViewKit::capitalizedFirst(decomposed), "\u00C9clair"));
    std::string text = "über";
    ViewKit::capitalizeFirst(text);
    EXPECT_EQ(text, "Über");
}

TEST(StringExtensionTest, Base64IsStrictAndNeedsUTF8) {
    const auto encoded = ViewKit::base64Encoded("Grüße");
    ASSERT_TRUE(encoded);
    EXPECT_EQ(ViewKit::base64Decoded(*encoded), "Grüße");
    EXPECT_EQ(ViewKit::base64Decoded("@@"), std::nullopt);
    EXPECT_EQ(ViewKit::base64Decoded("/w=="), std::nullopt); // the byte 0xFF
    EXPECT_EQ(ViewKit::base64Decoded("R3I="), "Gr");
    EXPECT_EQ(ViewKit::base64Decoded("R3I"), std::nullopt);     // padding required
    EXPECT_EQ(ViewKit::base64Decoded("R3I =\n"), std::nullopt); // no whitespace
    EXPECT_EQ(ViewKit::base64Encoded(""), "");
}

TEST(StringExtensionTest, ContentSearchReplaceSplitAndTrim) {
    EXPECT_FALSE(ViewKit::hasTrimmedContent(" \n\t"));
    EXPECT_TRUE(ViewKit::hasTrimmedContent(" a "));

    EXPECT_TRUE(ViewKit::contains("Grüße aus Übersee", "übersee", false));
    EXPECT_FALSE(ViewKit::contains("Grüße aus Übersee", "übersee", true));
    EXPECT_TRUE(ViewKit::contains("Straße", "STRASSE", false));
    EXPECT_EQ(ViewKit::replacing("Über über", "ü", "u", false), "uber uber");
    EXPECT_EQ(ViewKit::replacing("Über über", "ü", "u", true), "Über uber");
    std::string text = "a-b-c";
    ViewKit::replace(text, "-", "+");
    EXPECT_EQ(text, "a+b+c");

    EXPECT_EQ(ViewKit::split("a,,b;c", {",", ";"}), (std::vector<std::string>{"a", "", "b", "c"}));
    EXPECT_EQ(ViewKit::split("a–b", {"–"}), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ViewKit::trimmed("xxaxx", foundation::CharacterSet::charactersIn("x")), "a");
    EXPECT_EQ(ViewKit::removingAttachmentCharacters(" \uFFFCa\uFFFC \n"), "a \n");
    EXPECT_EQ(ViewKit::removingAttachmentCharacters("\t\uFFFC a \uFFFC\t"), "a");
}

TEST(StringExtensionTest, URLEncodingUsesThePathSetThenEncodesAmpersandAndPlus) {
    EXPECT_EQ(ViewKit::urlEncoded("a b&c+d/é?"), "a%20b%26c%2Bd/%C3%A9%3F");
    EXPECT_EQ(ViewKit::urlEncodedKeepingPlus("a b&c+d/é?"), "a%20b%26c+d/%C3%A9%3F");
    EXPECT_EQ(ViewKit::urlEncoded("~$'()*,-.:=@_!"), "~$'()*,-.:=@_!");
    EXPECT_EQ(ViewKit::urlEncoded("\xFF"), std::nullopt);
}

TEST(StringLinesTest, LineStartsCountCharactersAndEveryKindOfBreak) {
    const std::string text = "ab\ncd";
    for (std::size_t p = 0; p <= 2; ++p) {
        EXPECT_EQ(ViewKit::startOfLine(text, p), 0u) << p;
        EXPECT_EQ(ViewKit::startOfNextLine(text, p), 3u) << p;
    }
    for (std::size_t p = 3; p <= 7; ++p) {
        EXPECT_EQ(ViewKit::startOfLine(text, p), 3u) << p;
        EXPECT_EQ(ViewKit::startOfNextLine(text, p), 3u) << p;
    }
    EXPECT_EQ(ViewKit::startOfLine("", 4), 0u);
    EXPECT_EQ(ViewKit::startOfNextLine("", 0), 0u);
    // CR LF is one character and a break; so is a lone CR.
    EXPECT_EQ(ViewKit::startOfLine("ab\r\ncd", 3), 3u);
    EXPECT_EQ(ViewKit::startOfNextLine("ab\r\ncd", 0), 3u);
    EXPECT_EQ(ViewKit::startOfNextLine("ab\rcd", 1), 3u);
    // A break that is the last character starts no line.
    EXPECT_EQ(ViewKit::startOfNextLine("ab\n", 0), 0u);
    // Positions are characters: the family emoji is one.
    EXPECT_EQ(ViewKit::startOfNextLine("👨‍👩‍👧\nx", 0), 2u);
}

TEST(CollectionAccessTest, PositionsCountGraphemeClusters) {
    const std::string family = "👨‍👩‍👧";
    const std::string flag = "🇩🇪";
    const std::string text = family + flag + "e\u0301";
    EXPECT_EQ(ViewKit::element(text, 0), family);
    EXPECT_EQ(ViewKit::element(text, 1), flag);
    EXPECT_EQ(ViewKit::element(text, 2), "e\u0301");
    EXPECT_EQ(ViewKit::element(text, 3), std::nullopt);
    EXPECT_EQ(ViewKit::slice(text, Positions(1, 2)), flag);
    EXPECT_EQ(ViewKit::slice(text, PartialRangeFrom<std::size_t>{1}), flag + "e\u0301");
}

TEST(CollectionAccessTest, RangesPastTheEndAreCutToTheCount) {
    EXPECT_EQ(ViewKit::slice("abc", ClosedPositions(1, 5)), "bc");
    EXPECT_EQ(ViewKit::slice("abc", Positions(1, 5)), "bc");
    EXPECT_EQ(ViewKit::slice("abc", ClosedPositions(0, 1)), "ab");
    EXPECT_EQ(ViewKit::slice("abc", Positions(1, 2)), "b");
    EXPECT_EQ(ViewKit::slice("abc", Positions(4, 9)), "");
    EXPECT_EQ(ViewKit::slice("abc", PartialRangeThrough<std::size_t>{1}), "ab");
    EXPECT_EQ(ViewKit::slice("abc", PartialRangeThrough<std::size_t>{7}), "abc");
    EXPECT_EQ(ViewKit::slice("abc", PartialRangeUpTo<std::size_t>{2}), "ab");
    EXPECT_EQ(ViewKit::slice("abc", PartialRangeFrom<std::size_t>{3}), "");
    EXPECT_EQ(ViewKit::element("abc", 3), std::nullopt);

    // Any bidirectional collection, counted in elements.
    const std::list<int> numbers{1, 2, 3};
    EXPECT_EQ(ViewKit::element(numbers, 2), 3);
    EXPECT_EQ(ViewKit::element(numbers, 3), std::nullopt);
    const auto middle = ViewKit::slice(numbers, ClosedPositions(1, 9));
    EXPECT_EQ(std::vector<int>(middle.begin(), middle.end()), (std::vector<int>{2, 3}));
    const std::vector<int> empty;
    EXPECT_EQ(ViewKit::element(empty, 0), std::nullopt);
}
