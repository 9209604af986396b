#include "PrefsFixture.h"

#include "Prefs/Serializable.h"

#include "foundation/Date.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSFontDescriptor.h"
#include "foundation/PropertyList.h"
#include "foundation/Range.h"
#include "foundation/URL.h"
#include "foundation/UUID.h"
#include "graphics/NSColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

using foundation::ClosedRange;
using foundation::Data;
using foundation::Date;
using foundation::PropertyList;
using foundation::Range;
using foundation::URL;
using foundation::UUID;
using prefs_testing::Window;
using Array = PropertyList::Array;
using Dictionary = PropertyList::Dictionary;

namespace {

enum class Mode { light, dark };
struct NoCapability {};

// A text collection of our own, opted into the collection bridge.
struct Tags {
    using value_type = std::string;
    std::vector<std::string> items;
    explicit Tags(std::vector<std::string> items)
        : items(std::move(items)) {}
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }
    bool operator==(const Tags&) const = default;
};

// A set-like type of our own, opted into the set-algebra bridge.
struct Flags {
    using value_type = int;
    std::set<int> bits;
    explicit Flags(const std::vector<int>& elements)
        : bits(elements.begin(), elements.end()) {}
    std::vector<int> elementsArray() const { return {bits.begin(), bits.end()}; }
    bool operator==(const Flags&) const = default;
};

// Codes as JSON and by raw value, but prefers its raw value.
enum class Level { low = 1, high = 2 };

// An archivable class that also codes as JSON, and one that prefers its archive.
template <int> struct Badge {
    std::string title;
    static std::string_view className() { return "Badge"; }
    void encode(foundation::KeyedArchiver& archiver) const { archiver.encodeString("title", title); }
    static std::shared_ptr<Badge> decode(foundation::KeyedUnarchiver& unarchiver) {
        auto title = unarchiver.decodeString("title");
        return title ? std::make_shared<Badge>(Badge{*title}) : nullptr;
    }
};
// An archivable class whose own decoding fails with an exception of its own.
struct Brittle {
    static std::string_view className() { return "Brittle"; }
    void encode(foundation::KeyedArchiver& archiver) const { archiver.encodeString("title", "x"); }
    static std::shared_ptr<Brittle> decode(foundation::KeyedUnarchiver&) {
        throw std::runtime_error("cannot decode");
    }
};

template <int N> void to_json(nlohmann::json& json, const Badge<N>& badge) {
    json = badge.title;
}
template <int N> void from_json(const nlohmann::json& json, Badge<N>& badge) {
    badge.title = foundation::decodeJSON<std::string>(json);
}

} // namespace

template <> struct foundation::RawRepresentation<Level> {
    using RawValue = int;
    static int rawValue(Level level) { return int(level); }
    static std::optional<Level> fromRawValue(int raw) {
        if (raw == 1 || raw == 2) return Level(raw);
        return std::nullopt;
    }
};
template <> inline constexpr bool foundation::codesByRawValue<Level> = true;
template <> inline constexpr bool Prefs::preferRawRepresentable<Level> = true;
template <> inline constexpr bool Prefs::setAlgebraSerializable<Flags> = true;
template <> inline constexpr bool Prefs::preferNSSecureCoding<Badge<1>> = true;

template <> struct foundation::RawRepresentation<Mode> {
    using RawValue = std::string;
    static std::string rawValue(Mode mode) { return mode == Mode::light ? "light" : "dark"; }
    static std::optional<Mode> fromRawValue(const std::string& raw) {
        if (raw == "light") return Mode::light;
        if (raw == "dark") return Mode::dark;
        return std::nullopt;
    }
};
template <> inline constexpr bool Prefs::collectionSerializable<Tags> = true;

static_assert(!Prefs::Serializable<NoCapability>);
static_assert(!Prefs::Serializable<std::vector<NoCapability>>);
static_assert(!Prefs::Serializable<std::optional<NoCapability>>);
static_assert(std::is_base_of_v<Prefs::RawRepresentableBridge<Mode>, Prefs::Bridge<Mode>>);
static_assert(std::is_base_of_v<Prefs::TopLevelCodableBridge<Window>, Prefs::Bridge<Window>>);
static_assert(
    std::is_base_of_v<Prefs::NSSecureCodingBridge<graphics::NSColor>, Prefs::Bridge<graphics::NSColor>>);
static_assert(std::is_base_of_v<Prefs::CollectionBridge<Tags>, Prefs::Bridge<Tags>>);
static_assert(std::is_base_of_v<Prefs::SetAlgebraBridge<Flags>, Prefs::Bridge<Flags>>);
static_assert(std::is_base_of_v<Prefs::RawRepresentableBridge<Level>, Prefs::Bridge<Level>>);
static_assert(std::is_base_of_v<Prefs::CodableNSSecureCodingBridge<Badge<0>>, Prefs::Bridge<Badge<0>>>);
static_assert(std::is_base_of_v<Prefs::NSSecureCodingBridge<Badge<1>>, Prefs::Bridge<Badge<1>>>);

TEST(SerializableTest, NativeValuesAreStoredUnchanged) {
    EXPECT_EQ(Prefs::toSerializable(42), PropertyList(42));
    EXPECT_EQ(Prefs::toSerializable(2.5), PropertyList(2.5));
    EXPECT_EQ(Prefs::toSerializable(std::string("text")), PropertyList("text"));
    EXPECT_EQ(Prefs::toSerializable(Date(12.5)), PropertyList(Date(12.5)));
    EXPECT_EQ(Prefs::toSerializable(Data{1, 2}), PropertyList(Data{1, 2}));
    EXPECT_EQ(Prefs::toSerializable(std::vector<int>{1, 2}), PropertyList(Array{1, 2}));
    EXPECT_EQ(Prefs::toSerializable(std::map<std::string, bool>{{"a", true}}),
              PropertyList(Dictionary{{"a", true}}));
    EXPECT_EQ(Prefs::toSerializable(std::optional<int>(5)), PropertyList(5));
    EXPECT_TRUE(Prefs::toSerializable(std::optional<int>()).isAbsent());
}

TEST(SerializableTest, NativeTypesReadExactNumbersAndTheirJSONText) {
    EXPECT_EQ(Prefs::toValue<int>(PropertyList(3)), 3);
    EXPECT_EQ(Prefs::toValue<int>(PropertyList(3.0)), 3);
    EXPECT_EQ(Prefs::toValue<int>(PropertyList("42")), 42);
    EXPECT_EQ(Prefs::toValue<int>(PropertyList("forty-two")), std::nullopt);
    EXPECT_EQ(Prefs::toValue<int>(PropertyList(3.5)), std::nullopt);
    EXPECT_EQ(Prefs::toValue<std::int8_t>(PropertyList(300)), std::nullopt);
    EXPECT_EQ(Prefs::toValue<bool>(PropertyList("true")), true);
    EXPECT_EQ(Prefs::toValue<std::string>(PropertyList(7)), std::nullopt);
    EXPECT_EQ(Prefs::toValue<std::string>(PropertyList("\"quoted\"")), "\"quoted\"");
    // An array of integers also reads from an array of their JSON texts.
    EXPECT_EQ(Prefs::toValue<std::vector<int>>(PropertyList(Array{"1", "2"})), (std::vector<int>{1, 2}));
    EXPECT_EQ(Prefs::toValue<std::vector<int>>(PropertyList(Array{1, "x"})), std::nullopt);
    EXPECT_EQ(Prefs::toValue<URL>(PropertyList(3)), std::nullopt);
}

TEST(SerializableTest, CodableValuesAreJSONTextWithSortedKeys) {
    const Window window{"Goals", 400};
    const PropertyList stored = Prefs::toSerializable(window);
    EXPECT_EQ(stored, PropertyList(R"({"title":"Goals","width":400.0})"));
    EXPECT_EQ(Prefs::toValue<Window>(stored), window);
    EXPECT_EQ(Prefs::toValue<Window>(PropertyList("{\"title\":1}")), std::nullopt);
    EXPECT_EQ(Prefs::toValue<Window>(PropertyList(Dictionary{{"title", "x"}})), std::nullopt);

    // An encoding error is printed and stores nothing; decoding errors are silent.
    testing::internal::CaptureStdout();
    EXPECT_TRUE(Prefs::toSerializable(Window{"x", std::nan("")}).isAbsent());
    EXPECT_EQ(Prefs::toValue<Window>(PropertyList("not json")), std::nullopt);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("width"), std::string::npos) << printed;
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
}

TEST(SerializableTest, PlatformTypesHaveTheirOwnStoredForms) {
    const UUID id(UUID::Bytes{0xe6, 0x21, 0xe1, 0xf8, 0xc3, 0x6c, 0x49, 0x5a, 0x93, 0xfc, 0x0c, 0x24, 0x7a,
                              0x3e, 0x6e, 0x5f});
    EXPECT_EQ(Prefs::toSerializable(id), PropertyList("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    EXPECT_EQ(Prefs::toValue<UUID>(PropertyList("e621e1f8-c36c-495a-93fc-0c247a3e6e5f")), id);
    EXPECT_EQ(Prefs::toValue<UUID>(PropertyList("E621E1F8")), std::nullopt);

    const URL url = *URL::fromString("https://example.com/a/b");
    EXPECT_EQ(Prefs::toSerializable(url), PropertyList("\"https://example.com/a/b\""));
    EXPECT_EQ(Prefs::toValue<URL>(Prefs::toSerializable(url)), url);

    EXPECT_EQ(Prefs::toSerializable(Mode::dark), PropertyList("dark"));
    EXPECT_EQ(Prefs::toSerializable(Level::high), PropertyList(2)) << "its raw value, not JSON text";
    EXPECT_EQ(Prefs::toValue<Level>(PropertyList(1)), Level::low);
    EXPECT_EQ(Prefs::toValue<Level>(PropertyList(3)), std::nullopt);
    EXPECT_EQ(Prefs::toValue<Mode>(PropertyList("light")), Mode::light);
    EXPECT_EQ(Prefs::toValue<Mode>(PropertyList("dim")), std::nullopt);
}

TEST(SerializableTest, ArchivableClassesAreStoredAsKeyedArchives) {
    const auto color = graphics::NSColor::sRGB(1, 0.5, 0, 1);
    const PropertyList stored = Prefs::toSerializable(color);
    ASSERT_NE(stored.data(), nullptr);
    EXPECT_EQ(Prefs::toValue<graphics::NSColor>(stored), color);

    const foundation::NSFontDescriptor font("DejaVu Sans", 13);
    EXPECT_EQ(Prefs::toValue<foundation::NSFontDescriptor>(Prefs::toSerializable(font)), font);

    // A font's archive is no colour: the error is printed and nothing is read.
    testing::internal::CaptureStdout();
    EXPECT_EQ(Prefs::toValue<graphics::NSColor>(Prefs::toSerializable(font)), std::nullopt);
    EXPECT_EQ(Prefs::toValue<graphics::NSColor>(PropertyList(Data{1, 2, 3})), std::nullopt);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2) << printed;

    // A class that throws while decoding stored data reads as nothing rather than throwing.
    const PropertyList brittle = Prefs::toSerializable(Brittle());
    ASSERT_NE(brittle.data(), nullptr);
    EXPECT_EQ(Prefs::toValue<Brittle>(brittle).has_value(), false);
}

TEST(SerializableTest, DictionaryKeysAreTextAndValuesGoThroughTheirBridge) {
    EXPECT_EQ(Prefs::toSerializable(std::map<int, std::string>{{-3, "a"}, {10, "b"}}),
              PropertyList(Dictionary{{"-3", "\"a\""}, {"10", "\"b\""}}));
    EXPECT_EQ(Prefs::toSerializable(std::map<int, int>{{1, 2}}), PropertyList(Dictionary{{"1", "2"}}));
    EXPECT_EQ(Prefs::toSerializable(std::map<double, bool>{{0.1, true}, {2, false}}),
              PropertyList(Dictionary{{"0.1", "true"}, {"2", "false"}}));
    EXPECT_EQ(Prefs::toSerializable(std::map<bool, int>{{true, 1}}), PropertyList(Dictionary{{"true", "1"}}));

    // Entries whose key or value does not convert are left out.
    using Texts = std::map<int, std::string>;
    using Reals = std::map<double, int>;
    EXPECT_EQ(Prefs::toValue<Texts>(
                  PropertyList(Dictionary{{"1", "\"a\""}, {"x", "\"b\""}, {"2", "bare"}, {"+3", "\"c\""}})),
              (Texts{{1, "a"}, {3, "c"}}));
    EXPECT_EQ(Prefs::toValue<Reals>(Prefs::toSerializable(Reals{{0.1, 1}, {1e300, 2}})),
              (Reals{{0.1, 1}, {1e300, 2}}));
    EXPECT_EQ(Prefs::toValue<Texts>(PropertyList(Array{})), std::nullopt);
}

TEST(SerializableTest, ElementWiseBridgesDropElementsThatDoNotConvert) {
    // Reading leaves out the elements the element bridge yields nothing for, but the stored
    // elements must all be of its stored form.
    const URL good = *URL::fromString("https://example.com");
    EXPECT_EQ(Prefs::toSerializable(std::vector<URL>{good}), PropertyList(Array{"\"https://example.com\""}));
    EXPECT_EQ(Prefs::toValue<std::vector<URL>>(PropertyList(Array{"\"https://example.com\"", "nope"})),
              std::vector<URL>{good});
    EXPECT_EQ(Prefs::toValue<std::vector<URL>>(PropertyList(Array{"\"https://example.com\"", 3})),
              std::nullopt);

    EXPECT_EQ(Prefs::toSerializable(std::set<std::string>{"b", "a"}), PropertyList(Array{"a", "b"}));
    EXPECT_EQ(Prefs::toValue<std::set<std::string>>(PropertyList(Array{"a", "b", "a"})),
              (std::set<std::string>{"a", "b"}));
    EXPECT_EQ(Prefs::toValue<std::unordered_set<int>>(PropertyList(Array{1, 1, 2})),
              (std::unordered_set<int>{1, 2}));
    // A native element type takes no other form.
    EXPECT_EQ(Prefs::toValue<std::set<int>>(PropertyList(Array{"1"})), std::nullopt);
    EXPECT_EQ(Prefs::toValue<std::set<UUID>>(PropertyList(Array{"E621E1F8-C36C-495A-93FC-0C247A3E6E5F", "x"}))
                  ->size(),
              1u);

    EXPECT_EQ(Prefs::toSerializable(Flags({3, 1})), PropertyList(Array{1, 3}));
    EXPECT_EQ(Prefs::toValue<Flags>(PropertyList(Array{3, 1, 3})), Flags({1, 3}));
    EXPECT_EQ(Prefs::toValue<Flags>(PropertyList(Array{1, "x"})), std::nullopt);

    const Tags tags({"b", "a"});
    EXPECT_EQ(Prefs::toSerializable(tags), PropertyList(Array{"b", "a"}));
    EXPECT_EQ(Prefs::toValue<Tags>(PropertyList(Array{"b", "a"})), tags);
}

TEST(SerializableTest, RangesAreTwoElementArraysWithBoundsInOrder) {
    EXPECT_EQ(Prefs::toSerializable(ClosedRange<int>(1, 5)), PropertyList(Array{1, 5}));
    EXPECT_EQ(Prefs::toValue<ClosedRange<int>>(PropertyList(Array{1, 5})), (ClosedRange<int>(1, 5)));
    EXPECT_TRUE(Prefs::toValue<Range<double>>(PropertyList(Array{2.0, 2.0}))->isEmpty());
    EXPECT_EQ(Prefs::toValue<Range<int>>(PropertyList(Array{1})), std::nullopt);
    EXPECT_EQ(Prefs::toValue<Range<int>>(PropertyList(Array{1, "5"})), std::nullopt);

    // Bounds through a bridge.
    const ClosedRange<std::string> words("cherry", "pear");
    EXPECT_EQ(Prefs::toValue<ClosedRange<std::string>>(Prefs::toSerializable(words)), words);
    EXPECT_EQ(Prefs::toSerializable(words), PropertyList(Array{"cherry", "pear"}));
    const ClosedRange<URL> urls(*URL::fromString("https://a.example"), *URL::fromString("https://b.example"));
    EXPECT_EQ(Prefs::toValue<ClosedRange<URL>>(Prefs::toSerializable(urls)), urls);
}

TEST(SerializableTest, StoredRangesOutOfOrderOrWithNaNReadAsNothing) {
    EXPECT_EQ(Prefs::toValue<ClosedRange<int>>(PropertyList(Array{5, 1})), std::nullopt);
    EXPECT_EQ(Prefs::toValue<Range<int>>(PropertyList(Array{5, 1})), std::nullopt);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(Prefs::toValue<ClosedRange<double>>(PropertyList(Array{nan, 1.0})), std::nullopt);
    EXPECT_EQ(Prefs::toValue<ClosedRange<double>>(PropertyList(Array{0.0, nan})), std::nullopt);
}

TEST(SerializableTest, OptionalsUseTheWrappedTypesBridge) {
    EXPECT_EQ(Prefs::toSerializable(std::optional<UUID>(UUID(UUID::Bytes{}))),
              PropertyList("00000000-0000-0000-0000-000000000000"));
    EXPECT_TRUE(Prefs::toSerializable(std::optional<UUID>()).isAbsent());
    EXPECT_EQ(Prefs::toValue<std::optional<UUID>>(PropertyList("00000000-0000-0000-0000-000000000000")),
              std::optional<UUID>(UUID(UUID::Bytes{})));
    EXPECT_EQ(Prefs::toValue<std::optional<UUID>>(PropertyList("x")), std::nullopt);
    EXPECT_EQ(Prefs::toValue<std::optional<int>>(PropertyList("7")), std::optional<int>(7));
}
