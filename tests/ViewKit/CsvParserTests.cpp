#include "ViewKit/CsvParser.h"
#include "ViewKit/ResourceBundleAccessor.h"

#include "foundation/FileError.h"

#include "TemporaryFolder.h"
#include "ViewKitTestFiles.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using ViewKit::CsvParser;
using Rows = CsvParser::Rows;
using namespace viewkit_testing;
namespace fs = std::filesystem;

namespace {

Rows parse(std::string_view text, std::string_view separator = ",") {
    return CsvParser().parseCsvString(text, separator);
}

} // namespace

TEST(CsvParserTest, ClassicCasesFollowTheSplittingRule) {
    struct Case {
        std::string text;
        std::string separator;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"a,b\r\nc,d", ",", {{"a", "b"}, {"c", "d"}}},
        {"a,b\rc,d", ",", {{"a", "b"}, {"c", "d"}}},
        {"a,b\u2028c,d\u0085e\fz\vy", ",", {{"a", "b"}, {"c", "d"}, {"e"}, {"z"}, {"y"}}},
        {"a,,b", ",", {{"a", "b"}}},
        {"a, ,b", ",", {{"a", "", "b"}}},
        {"a,\t,b", ",", {{"a", "", "b"}}},
        {",a,", ",", {{"a"}}},
        {",,,", ",", {{}}},
        {"\"a,b\",c", ",", {{"\"a", "b\"", "c"}}},
        {"\"a\"\"b\",c", ",", {{"\"a\"\"b\"", "c"}}},
        {"\" a \",b", ",", {{"\" a \"", "b"}}},
        {"\"x\ny\",z", ",", {{"\"x"}, {"y\"", "z"}}},
        {"  x ; y  ", ";", {{"x", "y"}}},
        {"\ta\t\tb\t", "\t", {{"a", "b"}}}, // the empty column is gone
        {"\u00A0a\u00A0,b", ",", {{"a", "b"}}},
        {"\u200Ba,b", ",", {{"\u200Ba", "b"}}},
        {"a,\u0301b", ",", {{"a,\u0301b"}}}, // comma and accent are one character, no comma
        {"ae\u0301b", "\u00E9", {{"a", "b"}}},
        {"a\u00E9b", "e\u0301", {{"a", "b"}}},  // either way round
        {"a\u037Eb;c", ";", {{"a", "b", "c"}}}, // U+037E is a semicolon by canonical equivalence
        {"a\u00E9,b", ",", {{"a\u00E9", "b"}}},
        {"", ",", {}},
        {"\n \n\t\r\n\u3000", ",", {}},
        {"x\n\ny", "\n", {{"x"}, {"y"}}}, // a separator no line can hold
        {"h1,h2,h3\n1,2\n3",
         ",",
         {{"h1", "h2", "h3"}, {"1", "2"}, {"3"}}}, // header and ragged rows as they are
        {"\U0001F1E9\U0001F1EA|\U0001F1EB\U0001F1F7",
         "|",
         {{"\U0001F1E9\U0001F1EA", "\U0001F1EB\U0001F1F7"}}},
        {"1\U0001F1E9\U0001F1EA2", "\U0001F1E9\U0001F1EA", {{"1", "2"}}},
    };
    for (const auto& [text, separator, rows] : cases)
        EXPECT_EQ(parse(text, separator), rows) << text << " split at " << separator;
}

TEST(CsvParserTest, SeparatorsAndTextMustBeOneCharacterOfUTF8) {
    for (const std::string separator : {"", ",,", "ab", "\xff", "e\u0301\u0301x"})
        EXPECT_THROW(parse("a,b", separator), std::invalid_argument) << separator;
    EXPECT_NO_THROW(parse("a,b", "e\u0301\u0323")); // one character with two accents
    EXPECT_NO_THROW(parse("a,b", "\r\n"));          // CR LF is one character
    EXPECT_THROW(parse("a,\xff"), std::invalid_argument);
}

TEST(CsvParserTest, ReadsResourcesAndFileURLs) {
    testing_support::TemporaryFolder root;
    const auto bundle = foundation::Bundle::withPath(writeBundle(root.path() / "Words.bundle", {}));
    writeFile(root.path() / "Words.bundle/Resources/words.csv", "\xEF\xBB\xBFword,count\nZoë,2\n");
    const Rows expected = {{"word", "count"}, {"Zoë", "2"}}; // no byte-order mark in the first field
    const CsvParser parser;
    EXPECT_EQ(parser.parseCsvFile("words", "csv", bundle, ","), expected);
    EXPECT_EQ(parser.parseCsvFile(*bundle->urlForResource("words", "csv"), ","), expected);
    EXPECT_EQ(parser.fileManager(), foundation::FileManager::defaultManager());

    try {
        parser.parseCsvFile("word", "txt", bundle, ",");
        ADD_FAILURE() << "a missing resource was parsed";
    } catch (const CsvParser::CsvError& error) {
        EXPECT_EQ(error.kind(), CsvParser::CsvError::Kind::noFileWithName);
        EXPECT_EQ(error.name(), "word");
        EXPECT_EQ(error.extension(), "txt");
        EXPECT_EQ(error.bundle(), bundle);
        EXPECT_STREQ(error.what(), "CsvError.noFileWithName");
    }

    const auto fileError = [&](const foundation::URL& url) {
        try {
            parser.parseCsvFile(url, ",");
        } catch (const foundation::FileError& error) {
            return error.kind();
        }
        ADD_FAILURE() << url.absoluteString() << " was parsed";
        return foundation::FileError::Kind::other;
    };
    using Kind = foundation::FileError::Kind;
    EXPECT_EQ(fileError(foundation::URL::fileURLWithPath(root.path() / "missing.csv")), Kind::noSuchFile);
    EXPECT_EQ(fileError(foundation::URL::fileURLWithPath(root.path(), true)), Kind::notRegularFile);
    writeFile(root.path() / "latin1.csv", "caf\xe9,1\n");
    EXPECT_EQ(fileError(foundation::URL::fileURLWithPath(root.path() / "latin1.csv")), Kind::notUTF8);
    EXPECT_EQ(fileError(*foundation::URL::fromString("https://example.org/words.csv")), Kind::other);
}

TEST(CsvParserTest, TheToolkitBundleShipsTheMediaTypeTable) {
    const Rows rows = CsvParser().parseCsvFile("MimeTypes", "csv", ViewKit::moduleBundle(), ",");
    ASSERT_EQ(rows.size(), 95u);
    EXPECT_EQ(rows.front(), (std::vector<std::string>{"kind", "case", "subtype"}));
    EXPECT_EQ(rows.back(), (std::vector<std::string>{"video", "wmv", "x-ms-wmv"}));
}
