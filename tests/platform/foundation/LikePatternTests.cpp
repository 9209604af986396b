#include "foundation/LikePattern.h"

#include <gtest/gtest.h>

#include <string>

using foundation::matchesLike;

TEST(LikePatternTest, StarsAndQuestionMarksOverWholeCharacters) {
    EXPECT_TRUE(matchesLike("a.json", "*.json"));
    EXPECT_TRUE(matchesLike(".json", "*.json"));
    EXPECT_FALSE(matchesLike("a.json.bak", "*.json"));
    EXPECT_FALSE(matchesLike("a.JSON", "*.json")); // case counts
    EXPECT_TRUE(matchesLike("report-7.txt", "report-?.txt"));
    EXPECT_FALSE(matchesLike("report-17.txt", "report-?.txt"));
    EXPECT_TRUE(matchesLike("\xC3\xA9t\xC3\xA9", "?t?")); // "été": one character each
    EXPECT_TRUE(matchesLike("caf\xE9", "caf?"));          // a stray byte is one character too
    EXPECT_TRUE(matchesLike("", ""));
    EXPECT_TRUE(matchesLike("", "**"));
    EXPECT_FALSE(matchesLike("", "?"));
    EXPECT_FALSE(matchesLike("a", ""));
    EXPECT_TRUE(matchesLike("abcabd", "*ab?"));
    EXPECT_TRUE(matchesLike("mississippi", "m*ss*pp?"));
    EXPECT_FALSE(matchesLike("mississippi", "m*ss*ppx"));
}

TEST(LikePatternTest, ManyStarsAgainstLongTextEndQuickly) {
    // Backtracking over every star would take ages here; the answer needs one pass per star.
    const std::string text(20000, 'a');
    std::string pattern;
    for (int i = 0; i < 30; ++i)
        pattern += "*a";
    EXPECT_FALSE(matchesLike(text, pattern + "b"));
    EXPECT_TRUE(matchesLike(text, pattern + "*"));
}
