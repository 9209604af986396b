#include "foundation/CharacterSet.h"
#include "foundation/GraphemeClusters.h"
#include "foundation/UTF8.h"
#include "foundation/UnicodeNormalization.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace foundation;

TEST(GraphemeClusterTest, ClustersAreWhatAReaderCountsAsOneCharacter) {
    using Clusters = std::vector<std::string_view>;
    EXPECT_EQ(graphemeClusters(""), Clusters{});
    EXPECT_EQ(graphemeClusters("ab"), (Clusters{"a", "b"}));
    EXPECT_EQ(graphemeClusters("e\u0301x"), (Clusters{"e\u0301", "x"})); // combining accent
    EXPECT_EQ(graphemeClusters("\r\n\n"), (Clusters{"\r\n", "\n"}));     // CR LF is one
    EXPECT_EQ(graphemeClusters("\U0001F1E9\U0001F1EA\U0001F1EB"),        // flags pair up
              (Clusters{"\U0001F1E9\U0001F1EA", "\U0001F1EB"}));
    EXPECT_EQ(graphemeClusterCount("\U0001F469\u200D\U0001F469\u200D\U0001F467"), 1u); // ZWJ sequence
    EXPECT_EQ(graphemeClusterCount("\u1100\u1161\u11A8"), 1u);                         // Hangul jamo
    EXPECT_EQ(graphemeClusterCount(",\u0301"), 1u);
    // Ill-formed bytes are characters of their own and nothing is lost.
    const std::string bad = "a\xff\xfe"
                            "b";
    std::size_t bytes = 0;
    for (const auto cluster : graphemeClusters(bad))
        bytes += cluster.size();
    EXPECT_EQ(bytes, bad.size());

    GraphemeClusterIterator iterator("ae\u0301b");
    EXPECT_TRUE(iterator.isBoundary(0));
    EXPECT_TRUE(iterator.isBoundary(1));
    EXPECT_FALSE(iterator.isBoundary(2)); // between e and its accent
    EXPECT_FALSE(iterator.isBoundary(3)); // inside the accent's bytes
    EXPECT_TRUE(iterator.isBoundary(4));
    EXPECT_EQ(iterator.next(), "a"); // asking did not move the walk
    iterator.reset("xy");
    EXPECT_EQ(iterator.next(), "x");
}

TEST(CharacterSetTest, WhitespacesAndNewlinesAreTheUnicodeSets) {
    const auto& spaces = CharacterSet::whitespaces();
    for (const char32_t c :
         {U' ', U'\t', U'\u00A0', U'\u1680', U'\u2000', U'\u200A', U'\u202F', U'\u205F', U'\u3000'})
        EXPECT_TRUE(spaces.contains(c)) << std::hex << unsigned(c);
    for (const char32_t c : {U'\n', U'\r', U'\u000B', U'\u200B', U'\uFEFF', U'a', U'\u0085', U'\u2028'})
        EXPECT_FALSE(spaces.contains(c)) << std::hex << unsigned(c);

    const auto& breaks = CharacterSet::newlines();
    for (const char32_t c : {U'\n', U'\u000B', U'\u000C', U'\r', U'\u0085', U'\u2028', U'\u2029'})
        EXPECT_TRUE(breaks.contains(c)) << std::hex << unsigned(c);
    for (const char32_t c : {U'\t', U' ', U'\u0009', U'\u000E', U'\u2027', U'\u202A'})
        EXPECT_FALSE(breaks.contains(c)) << std::hex << unsigned(c);

    const auto& both = CharacterSet::whitespacesAndNewlines();
    EXPECT_TRUE(both.contains(U'\u3000') && both.contains(U'\u2029') && !both.contains(U'x'));

    const auto chosen = CharacterSet::charactersIn("a;é\xff");
    EXPECT_TRUE(chosen.contains(U'a') && chosen.contains(U';') && chosen.contains(U'\u00E9'));
    EXPECT_TRUE(chosen.contains(U'\uFFFD'));
    EXPECT_FALSE(chosen.contains(U'e') || chosen.contains(U'b'));
    EXPECT_FALSE(CharacterSet().contains(U'a'));
}

TEST(CharacterSetTest, TrimmingAndSplittingWorkByCodePoints) {
    const auto& spaces = CharacterSet::whitespaces();
    EXPECT_EQ(trimmingCharacters("\u00A0 a b\t\u3000", spaces), "a b");
    EXPECT_EQ(trimmingCharacters(" \t ", spaces), "");
    EXPECT_EQ(trimmingCharacters("\u200Ba ", spaces), "\u200Ba");
    EXPECT_EQ(trimmingCharacters(" \u0301", spaces), "\u0301");      // code points, not characters
    EXPECT_EQ(trimmingCharacters("x\xe2\x80", spaces), "x\xe2\x80"); // a cut-off sequence stays
    EXPECT_EQ(trimmingCharacters("\xe3\x80", CharacterSet::charactersIn("\xff")), "");

    using Pieces = std::vector<std::string_view>;
    EXPECT_EQ(componentsSeparatedBy("a\r\nb\u2028c", CharacterSet::newlines()), (Pieces{"a", "", "b", "c"}));
    EXPECT_EQ(componentsSeparatedBy("", CharacterSet::newlines()), Pieces{""});
    EXPECT_EQ(componentsSeparatedBy("\n", CharacterSet::newlines()), (Pieces{"", ""}));
}

TEST(UTF8Test, ValidationAndDecodingAgreeOnWhatIsWellFormed) {
    for (const std::string text :
         {"", "plain ascii text longer than a word", "é", "\u20AC", "\U0010FFFF", "abcdefgh\u00e9"})
        EXPECT_TRUE(isValidUTF8(text)) << text;
    for (const std::string text :
         {"\x80", "abcdefgh\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82", "12345678\xff"})
        EXPECT_FALSE(isValidUTF8(text)) << text;

    // Decoding reads every ill-formed byte as U+FFFD on its own and never past the end.
    for (const std::string text : {"\xe2\x82", "\xf0\x9f", "\xc0\xaf", "\xed\xa0\x80", "a\xff"}) {
        std::size_t offset = 0;
        std::size_t count = 0;
        while (offset < text.size()) {
            const std::size_t before = offset;
            const char32_t c = decodeUTF8(text, offset);
            EXPECT_TRUE(c == U'a' || c == 0xFFFD);
            EXPECT_GT(offset, before);
            ++count;
        }
        EXPECT_EQ(offset, text.size());
        EXPECT_EQ(count, text.size()); // one byte at a time
    }
    const std::string mixed = "a\u00e9\u20ac\U0001F600";
    std::size_t offset = 0;
    std::u32string decoded;
    while (offset < mixed.size())
        decoded += decodeUTF8(mixed, offset);
    EXPECT_EQ(decoded, U"a\u00e9\u20ac\U0001F600");
    EXPECT_EQ(previousUTF8Offset(mixed, mixed.size()), mixed.size() - 4);
}

TEST(GraphemeClusterTest, AnASCIICharacterOfItsOwnAgreesWithTheFullRules) {
    // Neighbours that hold on to what follows (prepended marks), attach to what precedes
    // (combining and spacing marks, the joiner), controls, and plain letters.
    const std::vector<std::string> neighbours = {"",           "a",          "\u0600", "\u0301", "\u0903",
                                                 "\u200D",     "\r",         "\n",     "\x01",   "\u00e9",
                                                 "\U0001F600", "\U0001F1E9", "\u1100"};
    for (const char c : {',', ';', 'K', '\t', '\r', '\n', '\x7f', ' '}) {
        for (const auto& before : neighbours)
            for (const auto& after : neighbours) {
                const std::string text = before + c + after;
                const std::size_t at = before.size();
                GraphemeClusterIterator clusters(text);
                const bool expected = clusters.isBoundary(at) && clusters.isBoundary(at + 1);
                EXPECT_EQ(isClusterOfItsOwn(text, at), expected)
                    << "U+" << std::hex << int(c) << " between " << before << " and " << after;
            }
    }
}

TEST(UnicodeNormalizationTest, SingleCodePointsEquivalentToAnother) {
    EXPECT_EQ(canonicalEquivalentsOf(U'K'), U"\u212A");
    EXPECT_EQ(canonicalEquivalentsOf(U';'), U"\u037E");
    EXPECT_EQ(canonicalEquivalentsOf(U','), U"");
    EXPECT_EQ(canonicalEquivalentsOf(U'\u00C5'), U"\u212B"); // the Angstrom sign
    EXPECT_TRUE(isCanonicallyEquivalent(";", "\u037E"));
}
