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

TEST(URLTest, FileURLsKeepNamesThatAreNoUTF8AsTheirBytes) {
    const URL file = URL::fileURLWithPath("/tmp/caf\xE9 [1].txt");
    EXPECT_EQ(file.absoluteString(), "file:///tmp/caf%E9%20[1].txt");
    EXPECT_EQ(file.path(), "/tmp/caf\xE9 [1].txt");
    EXPECT_EQ(file.lastPathComponent(), "caf\xE9 [1].txt");
    EXPECT_EQ(file.pathExtension(), "txt");
    const URL folder = file.deletingLastPathComponent();
    EXPECT_EQ(folder.absoluteString(), "file:///tmp/");
    const URL again = folder.appendingPathComponent("\xFF#?%");
    EXPECT_EQ(again.path(), "/tmp/\xFF#?%");
    EXPECT_EQ(URL::fromString(again.absoluteString()), again);
    EXPECT_EQ(URL::fileURLWithPath("/tmp/\xC3\xA9t\xC3\xA9", true).absoluteString(),
              "file:///tmp/%C3%A9t%C3%A9/");
    EXPECT_EQ(URL::fileURLWithPath("/").deletingLastPathComponent().path(), "/");
}
