#include "foundation/URL.h"

#include <gtest/gtest.h>

using namespace foundation;

TEST(URLTest, AbsoluteTextOnly) {
    EXPECT_FALSE(URL::fromString(""));
    EXPECT_FALSE(URL::fromString("no scheme here"));
    EXPECT_FALSE(URL::fromString("/just/a/path"));
    EXPECT_FALSE(URL::fromString("http://bad%zzescape"));
    const auto url = URL::fromString("https://example.org/a/b.png?x=1");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), "https://example.org/a/b.png?x=1");
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_FALSE(url->isFileURL());
    EXPECT_EQ(url->lastPathComponent(), "b.png");
    EXPECT_EQ(url->pathExtension(), "png");
    EXPECT_EQ(url->host(), "example.org");
    EXPECT_EQ(URL::fromString("https://user@Example.ORG:8080/")->host(), "example.org");
    EXPECT_FALSE(URL::fromString("mailto:someone@example.org")->host());
    EXPECT_FALSE(URL::fileURLWithPath("/tmp/a").host());
}

TEST(URLTest, FileURLsFromPaths) {
    const URL file = URL::fileURLWithPath("/tmp/a b/c.txt");
    EXPECT_EQ(file.absoluteString(), "file:///tmp/a%20b/c.txt");
    EXPECT_TRUE(file.isFileURL());
    EXPECT_EQ(file.path(), "/tmp/a b/c.txt");
    EXPECT_EQ(file.deletingLastPathComponent().absoluteString(), "file:///tmp/a%20b/");
    const URL folder = URL::fileURLWithPath("/tmp/x", true);
    EXPECT_TRUE(folder.hasDirectoryPath());
    EXPECT_EQ(folder.appendingPathComponent("Info.plist").path(), "/tmp/x/Info.plist");
    EXPECT_EQ(URL::fromString(file.absoluteString()), file);
}
