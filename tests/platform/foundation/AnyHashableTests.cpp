#include "foundation/AnyHashable.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <unordered_set>

using namespace foundation;

TEST(AnyHashableTest, LiteralsKeepTheirExactType) {
    const AnyHashable one = 1;
    const AnyHashable yes = true;
    const AnyHashable oneLong = 1L;
    EXPECT_TRUE(one.is<int>());
    EXPECT_TRUE(yes.is<bool>());
    EXPECT_NE(one, yes);
    EXPECT_NE(one, oneLong);
    EXPECT_EQ(one, AnyHashable(1));
    EXPECT_EQ(AnyHashable("red"), AnyHashable(std::string("red")));
    EXPECT_EQ(AnyHashable(), AnyHashable());
    EXPECT_NE(AnyHashable(), AnyHashable(0));
    EXPECT_EQ(one.hash(), AnyHashable(1).hash());
}

TEST(AnyHashableTest, KeysOfMixedTypesInOneMap) {
    std::unordered_map<AnyHashable, std::string> map;
    map[1] = "int";
    map[true] = "bool";
    map["1"] = "text";
    map[1.0] = "double";
    EXPECT_EQ(map.size(), 4u);
    EXPECT_EQ(map.at(1), "int");
    EXPECT_EQ(map.at(true), "bool");
    EXPECT_EQ(map.at(std::string("1")), "text");

    // The untyped view keeps the type as well.
    const Any base = AnyHashable(7u).base();
    ASSERT_TRUE(base.is<unsigned>());
    EXPECT_EQ(*base.get<unsigned>(), 7u);
    EXPECT_TRUE(Any(PropertyList(3)).is<PropertyList>());
}
