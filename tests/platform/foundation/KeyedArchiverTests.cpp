#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/PropertyListSerialization.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace foundation;

namespace {

class Child {
public:
    explicit Child(std::string name)
        : name(std::move(name)) {}
    static std::string_view className() { return "TestChild"; }
    void encode(KeyedArchiver& archiver) const { archiver.encodeString("name", name); }
    static std::shared_ptr<Child> decode(KeyedUnarchiver& unarchiver) {
        auto name = unarchiver.decodeString("name");
        if (!name) return nullptr;
        return std::make_shared<Child>(*name);
    }
    std::string name;
};

// One field of every kind, a nested object, and an optional one.
class Sample {
public:
    static std::string_view className() { return "TestSample"; }
    void encode(KeyedArchiver& archiver) const {
        archiver.encodeBool("flag", flag);
        archiver.encodeInt64("count", count);
        archiver.encodeDouble("ratio", ratio);
        archiver.encodeString("title", title);
        archiver.encodeData("bytes", bytes);
        archiver.encodeDate("when", when);
        archiver.encodeDoubleArray("values", values);
        archiver.encodePropertyList("extra", extra);
        archiver.encodeObject("child", child);
        archiver.encodeObject("spare", spare);
    }
    // Title and child are required; the other fields fall back to defaults.
    static std::shared_ptr<Sample> decode(KeyedUnarchiver& unarchiver) {
        auto sample = std::make_shared<Sample>();
        auto title = unarchiver.decodeString("title");
        sample->child = unarchiver.decodeObject<Child>("child");
        if (!title || !sample->child) return nullptr;
        sample->title = *title;
        sample->flag = unarchiver.decodeBool("flag").value_or(false);
        sample->count = unarchiver.decodeInt64("count").value_or(0);
        sample->ratio = unarchiver.decodeDouble("ratio").value_or(0);
        sample->bytes = unarchiver.decodeData("bytes").value_or(Data{});
        sample->when = unarchiver.decodeDate("when").value_or(Date());
        sample->values = unarchiver.decodeDoubleArray("values").value_or(std::vector<double>{});
        sample->extra = unarchiver.decodePropertyList("extra").value_or(PropertyList());
        sample->spare = unarchiver.decodeObject<Child>("spare");
        return sample;
    }

    bool flag = false;
    std::int64_t count = 0;
    double ratio = 0;
    std::string title;
    Data bytes;
    Date when;
    std::vector<double> values;
    PropertyList extra = PropertyList::Array{};
    std::shared_ptr<Child> child;
    std::shared_ptr<Child> spare;
};

// Nests itself: a stand-in for a graph that goes on too long.
class Chain {
public:
    static std::string_view className() { return "TestChain"; }
    void encode(KeyedArchiver& archiver) const { archiver.encodeObject("next", next); }
    static std::shared_ptr<Chain> decode(KeyedUnarchiver& unarchiver) {
        auto chain = std::make_shared<Chain>();
        chain->next = unarchiver.decodeObject<Chain>("next");
        return chain;
    }
    std::shared_ptr<Chain> next;
};

Sample makeSample() {
    Sample sample;
    sample.flag = true;
    sample.count = std::numeric_limits<std::int64_t>::min();
    sample.ratio = 0.1;
    sample.title = "Grüße \"quoted\"";
    sample.bytes = {0, 1, 254, 255};
    sample.when = Date(-0.25);
    sample.values = {1.5, -2, std::numeric_limits<double>::max()};
    sample.extra = PropertyList::Dictionary{{"list", PropertyList::Array{1, "two", false}}};
    sample.child = std::make_shared<Child>("inner");
    return sample;
}

PropertyList::Dictionary archiveAround(PropertyList root) {
    return {{"$archiver", "KeyedArchiver"},
            {"$version", 100000},
            {"$top", PropertyList::Dictionary{{"root", std::move(root)}}}};
}

Data bytesOf(const PropertyList& value) {
    return PropertyListSerialization::data(value, PropertyListFormat::binary);
}

template <class T> std::string unarchivingError(const Data& data) {
    try {
        KeyedUnarchiver::unarchivedObject<T>(data);
    } catch (const UnarchivingError& error) {
        EXPECT_FALSE(error.description().empty());
        return error.description();
    }
    ADD_FAILURE() << "unarchived";
    return {};
}

constexpr const char* notAnArchive = "The data couldn't be read because it isn't in the correct format.";

} // namespace

static_assert(SecureCodingClass<Sample> && SecureCodingClass<Child>);
static_assert(!SecureCodingClass<std::string>);

TEST(KeyedArchiverTest, EveryFieldKindAndNestedObjectsRoundTrip) {
    const Sample sample = makeSample();
    const Data data = KeyedArchiver::archivedData(sample, true);
    EXPECT_EQ(KeyedArchiver::archivedData(sample, false), data);

    const auto back = KeyedUnarchiver::unarchivedObject<Sample>(data);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->flag, true);
    EXPECT_EQ(back->count, sample.count);
    EXPECT_EQ(back->ratio, 0.1);
    EXPECT_EQ(back->title, sample.title);
    EXPECT_EQ(back->bytes, sample.bytes);
    EXPECT_EQ(back->when, Date(-0.25)); // exact, unlike a plist date
    EXPECT_EQ(back->values, sample.values);
    EXPECT_EQ(back->extra, sample.extra);
    ASSERT_TRUE(back->child);
    EXPECT_EQ(back->child->name, "inner");
    EXPECT_FALSE(back->spare);
}

TEST(KeyedArchiverTest, DatesAndDoublesKeepTheirWholeRange) {
    Sample sample = makeSample();
    sample.when = Date(1e12); // far beyond what a plist date holds
    sample.ratio = std::numeric_limits<double>::infinity();
    sample.values = {std::nan(""), -0.0};
    const auto back = KeyedUnarchiver::unarchivedObject<Sample>(KeyedArchiver::archivedData(sample, true));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->when, Date(1e12));
    EXPECT_EQ(back->ratio, sample.ratio);
    ASSERT_EQ(back->values.size(), 2u);
    EXPECT_TRUE(std::isnan(back->values[0]));
    EXPECT_TRUE(std::signbit(back->values[1]));
}

TEST(KeyedArchiverTest, TheArchiveIsABinaryPlistOfClassedDictionaries) {
    const Data data = KeyedArchiver::archivedData(makeSample(), true);
    ASSERT_GE(data.size(), 8u);
    EXPECT_EQ(std::string(data.begin(), data.begin() + 8), "bplist00");
    const PropertyList archive = PropertyListSerialization::propertyList(data);
    EXPECT_EQ(archive["$archiver"], PropertyList("KeyedArchiver"));
    EXPECT_EQ(archive["$version"], PropertyList(100000));
    const PropertyList& root = archive["$top"]["root"];
    EXPECT_EQ(root["$class"], PropertyList("TestSample"));
    EXPECT_EQ(root["count"], PropertyList(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(root["when"], (PropertyList::Dictionary{{"$date", -0.25}}));
    EXPECT_EQ(root["child"], (PropertyList::Dictionary{{"$class", "TestChild"}, {"name", "inner"}}));
    EXPECT_TRUE(root["spare"].isAbsent());
}

TEST(KeyedArchiverTest, WhatCannotBeArchivedIsAnError) {
    struct Reserved {
        static std::string_view className() { return "Reserved"; }
        void encode(KeyedArchiver& archiver) const { archiver.encodeBool("$class", true); }
        static std::shared_ptr<Reserved> decode(KeyedUnarchiver&) { return nullptr; }
    };
    EXPECT_THROW(KeyedArchiver::archivedData(Reserved(), true), ArchivingError);

    Sample sample = makeSample();
    sample.extra = PropertyList::Array{PropertyList::null()};
    EXPECT_THROW(KeyedArchiver::archivedData(sample, true), ArchivingError);
    sample.extra = PropertyList::Array{};
    sample.title = std::string("a\0b", 3);
    try {
        KeyedArchiver::archivedData(sample, true);
        ADD_FAILURE() << "archived a NUL character";
    } catch (const ArchivingError& error) {
        EXPECT_NE(error.description().find("'title'"), std::string::npos) << error.description();
    }
    // The file's writer would turn text that is not UTF-8 into something else.
    sample.title = "\xe8 not UTF-8";
    EXPECT_THROW(KeyedArchiver::archivedData(sample, true), ArchivingError);
    sample.title = "fine";
    sample.extra = PropertyList::Dictionary{{"\xff", 1}};
    EXPECT_THROW(KeyedArchiver::archivedData(sample, true), ArchivingError);

    // A cycle would go on for ever; it stops at the depth limit.
    auto cycle = std::make_shared<Chain>();
    cycle->next = cycle;
    try {
        KeyedArchiver::archivedData(*cycle, true);
        ADD_FAILURE() << "archived";
    } catch (const ArchivingError& error) {
        EXPECT_NE(error.description().find("nested"), std::string::npos) << error.description();
    }
    cycle->next = nullptr;
}

TEST(KeyedUnarchiverTest, OnlyTheClassAskedForIsUnarchived) {
    const Data data = KeyedArchiver::archivedData(makeSample(), true);
    const std::string root = unarchivingError<Child>(data);
    EXPECT_NE(root.find("'TestSample'"), std::string::npos) << root;
    EXPECT_NE(root.find("'TestChild'"), std::string::npos) << root;
    EXPECT_NE(root.find("'root'"), std::string::npos) << root;

    // The same check one level down: the child claims to be another class.
    PropertyList::Dictionary fields =
        *PropertyListSerialization::propertyList(data)["$top"]["root"].dictionary();
    fields["child"] = PropertyList::Dictionary{{"$class", "TestSample"}, {"name", "x"}};
    const std::string nested = unarchivingError<Sample>(bytesOf(archiveAround(fields)));
    EXPECT_NE(nested.find("'child'"), std::string::npos) << nested;
    EXPECT_NE(nested.find("'TestSample'"), std::string::npos) << nested;
    EXPECT_NE(nested.find("'TestChild'"), std::string::npos) << nested;
}

TEST(KeyedUnarchiverTest, WrongFieldTypesAndFailedDecodesAreErrors) {
    const PropertyList::Dictionary fields =
        *PropertyListSerialization::propertyList(
             KeyedArchiver::archivedData(makeSample(), true))["$top"]["root"]
             .dictionary();
    const auto withField = [&](const std::string& key, PropertyList value) {
        auto changed = fields;
        if (value.isAbsent())
            changed.erase(key);
        else
            changed[key] = std::move(value);
        return bytesOf(archiveAround(changed));
    };
    ASSERT_TRUE(KeyedUnarchiver::unarchivedObject<Sample>(withField("title", "fine")));

    EXPECT_NE(unarchivingError<Sample>(withField("count", "12")).find("'count'"), std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("flag", 1)).find("'flag'"), std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("ratio", true)).find("'ratio'"), std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("count", 1.5)).find("'count'"), std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("when", 3.0)).find("'when'"), std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("values", PropertyList::Array{1, "x"})).find("'values'"),
              std::string::npos);
    EXPECT_NE(unarchivingError<Sample>(withField("child", "not an object")).find("'child'"),
              std::string::npos);

    // A missing field is for decode() to judge; here it refuses, and the error says which class.
    const std::string missing = unarchivingError<Sample>(withField("title", PropertyList()));
    EXPECT_NE(missing.find("TestSample"), std::string::npos) << missing;
    const std::string inner =
        unarchivingError<Sample>(withField("child", PropertyList::Dictionary{{"$class", "TestChild"}}));
    EXPECT_NE(inner.find("TestChild"), std::string::npos) << inner;

    struct Refusing {
        static std::string_view className() { return "Refusing"; }
        void encode(KeyedArchiver&) const {}
        static std::shared_ptr<Refusing> decode(KeyedUnarchiver& unarchiver) {
            unarchiver.failWithError("No, thank you.");
            return std::make_shared<Refusing>();
        }
    };
    EXPECT_EQ(unarchivingError<Refusing>(KeyedArchiver::archivedData(Refusing(), true)), "No, thank you.");
}

TEST(KeyedUnarchiverTest, GarbageAndTruncatedDataAreErrors) {
    const auto text = [](const std::string& s) { return Data(s.begin(), s.end()); };
    for (const Data& garbage :
         {Data{}, text("not an archive"), text("bplist00"), text("bplist00\xff\xff\xff\xff\xff\xff\xff\xff"),
          text("<?xml version=\"1.0\"?><plist><dict/></plist>")})
        EXPECT_EQ(unarchivingError<Sample>(garbage), notAnArchive);

    // Property lists that are no archive.
    EXPECT_EQ(unarchivingError<Sample>(bytesOf(PropertyList::Array{1})), notAnArchive);
    const auto changed = [](const std::string& key, PropertyList value) {
        auto archive = archiveAround(PropertyList::Dictionary{{"$class", "TestChild"}, {"name", "x"}});
        archive[key] = std::move(value);
        return bytesOf(archive);
    };
    EXPECT_EQ(unarchivingError<Child>(changed("$version", 99)), notAnArchive);
    EXPECT_EQ(unarchivingError<Child>(changed("$archiver", "Something")), notAnArchive);
    EXPECT_EQ(unarchivingError<Child>(changed("$top", PropertyList::Dictionary{})), notAnArchive);

    const Data data = KeyedArchiver::archivedData(makeSample(), true);
    for (std::size_t length = 0; length < data.size(); ++length)
        EXPECT_THROW(KeyedUnarchiver::unarchivedObject<Sample>(std::span(data).first(length)),
                     UnarchivingError);
}

TEST(KeyedUnarchiverTest, TextTheArchiverWouldRefuseIsDamage) {
    // Patch a byte the writer would refuse into a one-byte text: the file reader already calls
    // that damage.
    Sample sample = makeSample();
    sample.title = "Patch me";
    sample.extra = PropertyList::Array{"Patch too"};
    const Data data = KeyedArchiver::archivedData(sample, true);
    const auto patched = [&](const std::string& text, std::uint8_t byte) {
        Data bytes = data;
        const auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
        EXPECT_NE(at, bytes.end());
        *at = byte;
        return bytes;
    };
    for (std::uint8_t byte : {0xe8, 0x00}) {
        EXPECT_FALSE(unarchivingError<Sample>(patched("Patch me", byte)).empty());
        EXPECT_FALSE(unarchivingError<Sample>(patched("Patch too", byte)).empty());
    }
}

TEST(KeyedUnarchiverTest, DeepNestingIsRefused) {
    PropertyList object = PropertyList::Dictionary{{"$class", "TestChain"}};
    for (int i = 0; i < maximumArchiveDepth; ++i)
        object = PropertyList::Dictionary{{"$class", "TestChain"}, {"next", object}};
    const std::string error = unarchivingError<Chain>(bytesOf(archiveAround(object)));
    EXPECT_NE(error.find("nested"), std::string::npos) << error;

    object = PropertyList::Dictionary{{"$class", "TestChain"}};
    for (int i = 1; i < maximumArchiveDepth; ++i)
        object = PropertyList::Dictionary{{"$class", "TestChain"}, {"next", object}};
    auto chain = KeyedUnarchiver::unarchivedObject<Chain>(bytesOf(archiveAround(object)));
    int length = 0;
    for (auto link = chain; link; link = link->next)
        ++length;
    EXPECT_EQ(length, maximumArchiveDepth);
}
