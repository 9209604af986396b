// What another program reading the suite's file finds.
#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/ValueAccess.h"

#include "foundation/PropertyList.h"
#include "foundation/Range.h"
#include "foundation/UUID.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

using foundation::PropertyList;

namespace {

using StoredFormTest = prefs_testing::PrefsTest;
constexpr const char* suiteName = "com.example.stored";

template <class Value> std::shared_ptr<Prefs::Key<Value>> key(const char* name, Value defaultValue) {
    return std::make_shared<Prefs::Key<Value>>(name, std::move(defaultValue),
                                               foundation::UserDefaults::make(suiteName));
}

} // namespace

TEST_F(StoredFormTest, BridgedValuesReachTheFileInTheirStoredForms) {
    const auto tags = key("tags", std::set<std::string>{});
    Prefs::set(tags, {"work", "home"});
    EXPECT_EQ(storedInFile(suiteName, "tags"), PropertyList(PropertyList::Array{"home", "work"}));

    const auto id = key("id", foundation::UUID(foundation::UUID::Bytes{}));
    const foundation::UUID value = *foundation::UUID::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    Prefs::set(id, value);
    EXPECT_EQ(storedInFile(suiteName, "id"), PropertyList("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));

    const auto names = key("names", std::map<int, std::string>{});
    Prefs::set(names, {{1, "one"}, {20, "twenty"}});
    EXPECT_EQ(storedInFile(suiteName, "names"),
              PropertyList(PropertyList::Dictionary{{"1", "\"one\""}, {"20", "\"twenty\""}}));

    const auto hours = key("hours", foundation::ClosedRange<int>(9, 17));
    Prefs::set(hours, foundation::ClosedRange<int>(8, 18));
    EXPECT_EQ(storedInFile(suiteName, "hours"), PropertyList(PropertyList::Array{8, 18}));

    // Each reads back from what the file holds.
    const auto reader = foundation::UserDefaults::make(suiteName);
    EXPECT_EQ(Prefs::get(*reader, tags), (std::set<std::string>{"home", "work"}));
    EXPECT_EQ(Prefs::get(*reader, id), value);
    EXPECT_EQ(Prefs::get(*reader, names).at(20), "twenty");
    EXPECT_EQ(Prefs::get(*reader, hours), foundation::ClosedRange<int>(8, 18));
}

TEST_F(StoredFormTest, AnEmptyOptionalRemovesTheObjectFromTheFile) {
    const auto note = key("note", std::optional<std::string>("draft"));
    Prefs::set(note, "written");
    EXPECT_EQ(storedInFile(suiteName, "note"), PropertyList("written"));
    Prefs::set(note, std::nullopt);
    EXPECT_TRUE(storedInFile(suiteName, "note").isAbsent());
    EXPECT_EQ(Prefs::get(note), "draft") << "the registered default";
}
