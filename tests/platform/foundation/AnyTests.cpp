#include "foundation/Any.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using namespace foundation;

TEST(AnyTest, KeepsTheExactTypeItWasMadeFrom) {
    const Any i = 42;
    EXPECT_TRUE(i.is<int>());
    EXPECT_FALSE(i.is<long>());
    EXPECT_EQ(i.type(), std::type_index(typeid(int)));
    ASSERT_NE(i.get<int>(), nullptr);
    EXPECT_EQ(*i.get<const int&>(), 42);
    EXPECT_EQ(i.get<unsigned>(), nullptr);

    const Any empty;
    EXPECT_FALSE(empty.has_value());
    EXPECT_EQ(empty.type(), std::type_index(typeid(void)));
    EXPECT_EQ(empty.get<int>(), nullptr);
}

TEST(AnyTest, TextIsAlwaysKeptAsAnOwnedString) {
    EXPECT_TRUE(Any("literal").is<std::string>());
    Any fromView;
    {
        std::string temporary = "from a view";
        fromView = Any(std::string_view(temporary));
    }
    ASSERT_TRUE(fromView.is<std::string>());
    EXPECT_EQ(*fromView.get<std::string>(), "from a view");
    EXPECT_FALSE(Any(static_cast<const char*>(nullptr)).has_value());
}

TEST(AnyTest, EqualityNeedsTheSameTypeAndEqualValues) {
    EXPECT_EQ(Any(1), Any(1));
    EXPECT_NE(Any(1), Any(2));
    EXPECT_NE(Any(1), Any(1L));
    EXPECT_EQ(Any("a"), Any(std::string("a")));
    EXPECT_EQ(Any(std::vector<int>{1, 2}), Any(std::vector<int>{1, 2}));
    EXPECT_EQ(Any(), Any());
    EXPECT_NE(Any(), Any(0));
    EXPECT_NE(Any(0), Any());

    // Values are compared, not storage: a copy of NaN is as unequal as NaN itself.
    const Any nan = std::nan("");
    const Any copy = nan;
    EXPECT_NE(nan, copy);

    auto object = std::make_shared<int>(7);
    EXPECT_EQ(Any(object), Any(object));
    EXPECT_NE(Any(object), Any(std::make_shared<int>(7)));
}
