#include "foundation/CollectionMove.h"
#include "foundation/NSItemProvider.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string moved(std::string letters, const foundation::IndexSet& offsets, std::size_t destination) {
    std::vector<char> items(letters.begin(), letters.end());
    foundation::moveElements(items, offsets, destination);
    return {items.begin(), items.end()};
}

TEST(CollectionMoveTest, DestinationCountsPositionsBeforeTheMove) {
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(0), 3), "BCAD");
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(3), 1), "ADBC");
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(1), 3), "ACBD");
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(2), 1), "ACBD");
    // Onto itself or just below itself: nothing moves.
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(1), 1), "ABCD");
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(1), 2), "ABCD");
}

TEST(CollectionMoveTest, SeveralOffsetsKeepTheirOrderAndOutOfRangeValuesAreHarmless) {
    EXPECT_EQ(moved("ABCDE", {0, 2}, 4), "BDACE");
    EXPECT_EQ(moved("ABCDE", {1, 4}, 0), "BEACD");
    EXPECT_EQ(moved("ABCD", foundation::IndexSet(0), 99), "BCDA");
    EXPECT_EQ(moved("ABCD", {7}, 0), "ABCD");
    EXPECT_EQ(moved("", foundation::IndexSet(0), 0), "");
}

TEST(ItemProviderTest, PlainTextConformsToTextButNotTheOtherWayRound) {
    const foundation::NSItemProvider provider(std::string("42"));
    EXPECT_TRUE(provider.hasItemConforming(foundation::UTType::text()));
    EXPECT_TRUE(provider.hasItemConforming(foundation::UTType::plainText()));
    EXPECT_EQ(provider.loadString(foundation::UTType::text()), "42");
    EXPECT_FALSE(provider.hasItemConforming(foundation::UTType("public.image")));
    EXPECT_FALSE(foundation::UTType::text().conforms(foundation::UTType::plainText()));
    EXPECT_FALSE(foundation::NSItemProvider().loadString().has_value());
}

} // namespace
