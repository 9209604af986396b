#include "PrefsFixture.h"

#include "Prefs/AnySerializable.h"
#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"

#include "foundation/Date.h"
#include "foundation/PropertyList.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

using foundation::Data;
using foundation::Date;
using foundation::PropertyList;
using Prefs::AnySerializable;

namespace {

using AnySerializableTest = prefs_testing::PrefsTest;

// Equal values must hash alike.
void expectEqualWithTheSameHash(const AnySerializable& a, const AnySerializable& b) {
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(b == a);
    EXPECT_EQ(a.hash(), b.hash());
}

const std::string composed = "caf\xc3\xa9";    // é as one code point
const std::string decomposed = "cafe\xcc\x81"; // e and a combining acute accent

} // namespace

TEST(AnySerializableEqualityTest, LiteralsKeepTheirTypes) {
    EXPECT_FALSE(AnySerializable(1) == AnySerializable(true));
    EXPECT_FALSE(AnySerializable(1) == AnySerializable(1.0));
    EXPECT_FALSE(AnySerializable(1) == AnySerializable("1"));
    expectEqualWithTheSameHash(AnySerializable(1), AnySerializable(1L));
    expectEqualWithTheSameHash(AnySerializable(2.5), AnySerializable(2.5));
    expectEqualWithTheSameHash(AnySerializable(0.0), AnySerializable(-0.0));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(AnySerializable(nan) == AnySerializable(nan));
    EXPECT_FALSE(AnySerializable::array({foundation::URL::fromString("https://a.example")}) ==
                 AnySerializable::array({foundation::URL::fromString("https://a.example")}))
        << "a type outside the table equals nothing";
}

TEST(AnySerializableEqualityTest, StoredNumbersEqualLiteralsOfTheSameNumber) {
    const auto stored = [](PropertyList object) { return AnySerializable::fromObject(object); };
    expectEqualWithTheSameHash(stored(1), AnySerializable(1));
    expectEqualWithTheSameHash(stored(1), AnySerializable(true));
    expectEqualWithTheSameHash(stored(true), AnySerializable(1));
    expectEqualWithTheSameHash(stored(1.0), AnySerializable(1));
    expectEqualWithTheSameHash(stored(3.0), AnySerializable(3.0));
    expectEqualWithTheSameHash(stored(0.5), AnySerializable(0.5));
    expectEqualWithTheSameHash(stored(std::uint64_t(1) << 63), stored(double(std::uint64_t(1) << 63)));
    expectEqualWithTheSameHash(stored("text"), AnySerializable("text"));
    expectEqualWithTheSameHash(stored(Date(5)), AnySerializable(Date(5)));
    expectEqualWithTheSameHash(stored(Data{1, 2}), AnySerializable(Data{1, 2}));
    EXPECT_FALSE(stored(2) == AnySerializable(true));
    EXPECT_FALSE(stored(1.5) == AnySerializable(1));
    EXPECT_FALSE(stored("1") == AnySerializable(1));
}

TEST(AnySerializableEqualityTest, CanonicallyEquivalentTextIsEqual) {
    ASSERT_NE(composed, decomposed);
    expectEqualWithTheSameHash(AnySerializable(composed), AnySerializable(decomposed));
    expectEqualWithTheSameHash(AnySerializable::fromObject(composed), AnySerializable(decomposed));
    EXPECT_FALSE(AnySerializable("cafe") == AnySerializable(composed));
}

TEST(AnySerializableEqualityTest, EmptyValuesAreEqual) {
    expectEqualWithTheSameHash(AnySerializable(), AnySerializable(nullptr));
    expectEqualWithTheSameHash(AnySerializable(std::optional<int>()), AnySerializable());
    EXPECT_FALSE(AnySerializable() == AnySerializable(0));
    EXPECT_FALSE(AnySerializable(0) == AnySerializable());
}

TEST(AnySerializableEqualityTest, ContainersCompareElementByElement) {
    const auto literal = AnySerializable::dictionary({{"a", 1}, {"b", "x"}});
    const auto reordered = AnySerializable::dictionary({{"b", "x"}, {"a", 1}});
    expectEqualWithTheSameHash(literal, reordered);
    expectEqualWithTheSameHash(literal,
                               AnySerializable::fromObject(PropertyList::Dictionary{{"a", 1}, {"b", "x"}}));
    EXPECT_FALSE(literal == AnySerializable::dictionary({{"a", 1}}));
    EXPECT_FALSE(literal == AnySerializable::dictionary({{"a", 2}, {"b", "x"}}));

    expectEqualWithTheSameHash(AnySerializable::array({1, "x", decomposed}),
                               AnySerializable::fromObject(PropertyList::Array{1, "x", composed}));
    EXPECT_FALSE(AnySerializable::array({1, 2}) == AnySerializable::array({2, 1}));
    EXPECT_FALSE(AnySerializable::array({1}) == AnySerializable::array({true}));
}

TEST(AnySerializableEqualityTest, WorksAsASetElement) {
    std::unordered_set<AnySerializable> set;
    set.insert(AnySerializable(composed));
    set.insert(AnySerializable(decomposed));
    set.insert(AnySerializable::fromObject(PropertyList(7)));
    set.insert(AnySerializable(7));
    set.insert(AnySerializable(true));
    set.insert(AnySerializable());
    set.insert(AnySerializable());
    EXPECT_EQ(set.size(), 4u);
    EXPECT_TRUE(set.contains(AnySerializable::fromObject(PropertyList(decomposed))));
}

TEST(AnySerializableValueTest, ConvertsToRequestedTypesOnDemand) {
    AnySerializable value(foundation::UUID(foundation::UUID::Bytes{}));
    EXPECT_EQ(value.propertyList(), PropertyList("00000000-0000-0000-0000-000000000000"));
    EXPECT_EQ(value.get<foundation::UUID>(), foundation::UUID(foundation::UUID::Bytes{}));
    EXPECT_EQ(value.get<int>(), std::nullopt);
    value.set(std::vector<int>{1, 2});
    EXPECT_EQ(value.get<std::vector<int>>(), (std::vector<int>{1, 2}));
    EXPECT_EQ(AnySerializable(3).get<double>(), 3.0);
    EXPECT_EQ(AnySerializable("x").get<int>(), std::nullopt);
    EXPECT_TRUE(AnySerializable(std::optional<std::string>()).isEmpty());
    EXPECT_EQ(AnySerializable::dictionary({{1, "x"}}).propertyList(), PropertyList())
        << "no suite holds a dictionary with number keys";
}

TEST(AnySerializableDeathTest, ADictionaryLiteralMayNotRepeatAKey) {
    EXPECT_DEATH(AnySerializable::dictionary({{"a", 1}, {"a", 2}}), "Fatal error: .*repeats a key");
}

TEST_F(AnySerializableTest, KeysStoreTheHeldObject) {
    const auto defaults = suite();
    const auto key = std::make_shared<Prefs::Key<AnySerializable>>("any", AnySerializable(5), defaults);
    EXPECT_EQ(defaults->objectForKey("any"), PropertyList(5));
    Prefs::set(key, AnySerializable::array({1, "two", AnySerializable(3.5)}));
    EXPECT_EQ(defaults->objectForKey("any"), PropertyList(PropertyList::Array{1, "two", 3.5}));
    EXPECT_EQ(Prefs::get(key), AnySerializable::array({1, "two", 3.5}));

    // A number read back from the suite equals the literal of that number, and true for 1.
    defaults->setObject(1, "n");
    const auto number = std::make_shared<Prefs::Key<AnySerializable>>("n", AnySerializable(), defaults);
    expectEqualWithTheSameHash(Prefs::get(number), AnySerializable(1));
    expectEqualWithTheSameHash(Prefs::get(number), AnySerializable(true));

    // A value no suite can hold keeps what is stored; the empty value removes it.
    Prefs::set(key, AnySerializable::dictionary({{1, "x"}}));
    EXPECT_EQ(defaults->objectForKey("any"), PropertyList(PropertyList::Array{1, "two", 3.5}));
    Prefs::set(key, AnySerializable());
    EXPECT_EQ(defaults->objectForKey("any"), PropertyList(5)) << "removed: the default shows";
}
