// Versions and the feed's items as the parser reads them.
#include "updater/UpdateFeed.h"

#include <gtest/gtest.h>

namespace {

using updater::Version;

TEST(VersionTest, VersionsCompareNumberByNumber) {
    EXPECT_GT(*Version::parse("0.10.0"), *Version::parse("0.9.2"));
    EXPECT_EQ(*Version::parse("1.2"), *Version::parse("1.2.0"));
    EXPECT_EQ(*Version::parse(" 01.002 "), *Version::parse("1.2"));
    EXPECT_LT(*Version::parse("1.2"), *Version::parse("1.2.0.1"));
    EXPECT_GT(*Version::parse("99999999999999999999999.0"), *Version::parse("18446744073709551615.9"));
    EXPECT_EQ(Version::parse(" 0.10.0\n")->text(), "0.10.0");
    for (const char* bad : {"", " ", "1.", ".1", "1..2", "1.0-beta", "v1", "1,2", "+1", "1 2"})
        EXPECT_FALSE(Version::parse(bad)) << '"' << bad << '"';
}

TEST(UpdateFeedTest, ItemsKeepTheirFieldsAndOnlyPlainElementsCount) {
    const auto feed = updater::UpdateFeed::parse(R"(<?xml version="1.0"?>
        <rss version="2.0" xmlns:x="urn:other"><channel><title>Updates</title>
          <item><title>Quoril 2.1</title><x:version>9</x:version><version>2.1</version>
            <pubDate>Tue, 01 Dec 2026 08:00:00 -0500</pubDate>
            <description><![CDATA[<b>Bold</b> & plain]]></description>
            <link> https://example.org/2.1 </link>
            <enclosure url="https://example.org/quoril_2.1.deb" length="4096" type="application/vnd.debian.binary-package"/>
          </item>
          <item><version>3.0-rc1</version></item>
          <x:item><version>4</version></x:item>
          <item><version>2.0</version><pubDate>someday</pubDate><enclosure url="no url" length="-1"/></item>
        </channel></rss>)");
    ASSERT_EQ(feed.items.size(), 2u);
    const auto& first = feed.items[0];
    EXPECT_EQ(first.version.text(), "2.1");
    EXPECT_EQ(first.title, "Quoril 2.1");
    EXPECT_EQ(first.notes, "<b>Bold</b> & plain");
    EXPECT_EQ(first.link, "https://example.org/2.1");
    ASSERT_TRUE(first.publicationDate);
    EXPECT_EQ(first.publicationDate->timeIntervalSince1970(), 1796130000);
    ASSERT_TRUE(first.enclosure);
    EXPECT_EQ(first.enclosure->url.absoluteString(), "https://example.org/quoril_2.1.deb");
    EXPECT_EQ(first.enclosure->length, 4096u);
    EXPECT_EQ(first.enclosure->type, "application/vnd.debian.binary-package");
    EXPECT_FALSE(feed.items[1].publicationDate);
    EXPECT_FALSE(feed.items[1].enclosure);
    EXPECT_EQ(feed.newestItem(), &first);

    EXPECT_TRUE(updater::UpdateFeed::parse("<rss><channel/></rss>").items.empty());
    for (const char* bad : {"", "plain text", "<rss><item><version>1</version></item></rss>",
                            "<feed><entry/></feed>", "<rss><channel><item>", "<rss><channel/></rss><more/>"})
        EXPECT_THROW(updater::UpdateFeed::parse(bad), updater::FeedError) << bad;
}

} // namespace
