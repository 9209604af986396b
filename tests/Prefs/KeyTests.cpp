#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/Reset.h"
#include "Prefs/ValueAccess.h"

#include "foundation/Clock.h"
#include "foundation/Date.h"
#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

using foundation::Date;
using foundation::PropertyList;
using prefs_testing::Window;

namespace {

using KeyTest = prefs_testing::PrefsTest;

template <class Value, class... Args> std::shared_ptr<Prefs::Key<Value>> key(Args&&... args) {
    return std::make_shared<Prefs::Key<Value>>(std::forward<Args>(args)...);
}

class Counter : public foundation::KeyValueObserver {
public:
    void observeValue(std::string_view keyPath, foundation::Object*, const foundation::KeyValueChange&,
                      void*) override {
        ++counts[std::string(keyPath)];
    }
    std::map<std::string, int> counts;
};

} // namespace

TEST_F(KeyTest, ReadsTheStoredValueOrTheDefault) {
    const auto defaults = suite();
    const auto count = key<int>("count", 3, defaults);
    EXPECT_EQ(Prefs::get(count), 3);
    Prefs::set(count, 7);
    EXPECT_EQ(Prefs::get(count), 7);
    EXPECT_EQ(defaults->objectForKey("count"), PropertyList(7));

    // A stored object of the wrong kind reads as the default and stays as it is.
    defaults->setObject("seven", "count");
    EXPECT_EQ(Prefs::get(count), 3);
    EXPECT_EQ(defaults->objectForKey("count"), PropertyList("seven"));
    defaults->setObject("12", "count");
    EXPECT_EQ(Prefs::get(count), 12);

    count->reset();
    EXPECT_EQ(defaults->objectForKey("count"), PropertyList(3)) << "the registered default shows again";
}

TEST_F(KeyTest, DefaultsAreRegisteredOnlyOnTheKeysOwnSuite) {
    const auto own = suite();
    const auto other = suite();
    const auto other2 = suite("com.example.other");
    const auto title = key<std::string>("title", "Goals", own);
    EXPECT_EQ(own->objectForKey("title"), PropertyList("Goals"));
    EXPECT_TRUE(other->objectForKey("title").isAbsent());

    // The suite-side access reads and writes the given suite, with the key's default.
    EXPECT_EQ(Prefs::get(*other2, title), "Goals");
    Prefs::set(*other2, title, "Elsewhere");
    EXPECT_EQ(Prefs::get(*other2, title), "Elsewhere");
    EXPECT_EQ(Prefs::get(title), "Goals");
    Prefs::modify(*other2, title, [](std::string& text) { text += "!"; });
    EXPECT_EQ(other2->objectForKey("title"), PropertyList("Elsewhere!"));
    EXPECT_EQ(own->objectForKey("title"), PropertyList("Goals"));
}

TEST_F(KeyTest, TheGetterFormIsEvaluatedOnEveryReadAndTheDesignatedFormOnce) {
    foundation::ScopedManualClock clock(Date(1000));
    const auto defaults = suite();
    const auto computed = key<Date>("computed", defaults, false, [] { return Date::now(); });
    const auto fixed = key<Date>("fixed", Date::now(), defaults);
    EXPECT_TRUE(defaults->objectForKey("computed").isAbsent()) << "the getter form registers nothing";
    clock->advance(60);
    EXPECT_EQ(Prefs::get(computed), Date(1060));
    EXPECT_EQ(Prefs::get(fixed), Date(1000));
    EXPECT_EQ(fixed->defaultValue(), Date(1000));
    clock->advance(60);
    EXPECT_EQ(computed->defaultValue(), Date(1120));
    EXPECT_EQ(Prefs::get(fixed), Date(1000));
}

TEST_F(KeyTest, EmptyOptionalsAreNeverRegisteredAndWritingOneRemoves) {
    const auto defaults = suite();
    const auto note = key<std::optional<std::string>>("note", defaults);
    EXPECT_TRUE(defaults->dictionaryRepresentation().empty());
    EXPECT_EQ(Prefs::get(note), std::nullopt);
    Prefs::set(note, "hello");
    EXPECT_EQ(Prefs::get(note), "hello");
    Prefs::set(note, std::nullopt);
    EXPECT_TRUE(defaults->objectForKey("note").isAbsent());

    const auto withDefault = key<std::optional<int>>("limit", std::optional<int>(5), defaults);
    EXPECT_EQ(defaults->objectForKey("limit"), PropertyList(5));
    Prefs::set(withDefault, std::nullopt);
    EXPECT_EQ(Prefs::get(withDefault), 5) << "the registered default shows through";
}

TEST_F(KeyTest, AValueWithoutAStoredFormKeepsWhatIsStored) {
    const auto defaults = suite();
    const auto window = key<Window>("window", Window{"Goals", 400}, defaults);
    Prefs::set(window, Window{"Mine", 500});
    testing::internal::CaptureStdout();
    Prefs::set(window, Window{"Broken", std::nan("")});
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(printed.empty()) << "the encoding error is the one report";
    EXPECT_EQ(Prefs::get(window), (Window{"Mine", 500}));

    // A default without a stored form is not registered, and the key still reads it.
    testing::internal::CaptureStdout();
    const auto broken = key<Window>("broken", Window{"NaN", std::nan("")}, defaults);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(defaults->objectForKey("broken").isAbsent());
    EXPECT_EQ(Prefs::get(broken).title, "NaN");
}

TEST_F(KeyTest, ModifyWritesBackOnlyWhenTheChangeCompletes) {
    const auto defaults = suite();
    const auto list = key<std::vector<std::string>>("list", std::vector<std::string>{}, defaults);
    Prefs::modify(list, [](std::vector<std::string>& items) { items.push_back("a"); });
    EXPECT_EQ(Prefs::get(list), std::vector<std::string>{"a"});
    EXPECT_THROW(Prefs::modify(list,
                               [](std::vector<std::string>& items) {
                                   items.clear();
                                   throw std::runtime_error("abandoned");
                               }),
                 std::runtime_error);
    EXPECT_EQ(Prefs::get(list), std::vector<std::string>{"a"});
}

TEST_F(KeyTest, KeysAreEqualByNameAndSuiteWhateverTheirValueTypes) {
    const auto a = suite();
    const auto b = suite();
    const auto flag = key<bool>("same", false, a);
    const auto text = key<std::string>("same", "", a);
    const auto elsewhere = key<bool>("same", false, b);
    const auto renamed = key<bool>("other", false, a);
    EXPECT_EQ(static_cast<const Prefs::_AnyKey&>(*flag), *text);
    EXPECT_EQ(std::hash<Prefs::_AnyKey>{}(*flag), std::hash<Prefs::_AnyKey>{}(*text));
    EXPECT_FALSE(static_cast<const Prefs::_AnyKey&>(*flag) == *elsewhere);
    EXPECT_FALSE(static_cast<const Prefs::_AnyKey&>(*flag) == *renamed);
    EXPECT_TRUE(text->isDefaultValue());
    Prefs::set(text, "x");
    EXPECT_FALSE(text->isDefaultValue());
    EXPECT_FALSE(static_cast<const Prefs::_AnyKey&>(*text).isDefaultValue());
    Prefs::set(text, "");
    EXPECT_TRUE(static_cast<const Prefs::_AnyKey&>(*text).isDefaultValue());
}

TEST(KeyPathTest, ValidNamesAreASCIIWithoutDotsNorALeadingAt) {
    EXPECT_TRUE(Prefs::isValidKeyPath(""));
    EXPECT_TRUE(Prefs::isValidKeyPath("burnOnQuit"));
    EXPECT_TRUE(Prefs::isValidKeyPath("a@b"));
    EXPECT_FALSE(Prefs::isValidKeyPath("@count"));
    EXPECT_FALSE(Prefs::isValidKeyPath("a.b"));
    EXPECT_FALSE(Prefs::isValidKeyPath("."));
    EXPECT_FALSE(Prefs::isValidKeyPath("caf\xc3\xa9"));
}

TEST_F(KeyTest, EveryResetFormRemovesFromTheRightSuite) {
    const auto a = suite("com.example.a");
    const auto b = suite("com.example.b");
    const auto one = key<int>("one", 0, a);
    const auto two = key<std::string>("two", "", b);
    const auto store = [&] {
        Prefs::set(one, 1);
        Prefs::set(two, "2");
        a->setObject(3, "three");
        b->setObject(3, "three");
    };
    const auto stored = [](const auto& defaults, const char* name) {
        return !defaults->objectForKey(name).isAbsent();
    };

    store();
    Prefs::reset(one, two);
    EXPECT_EQ(Prefs::get(one), 0);
    EXPECT_EQ(Prefs::get(two), "");

    store();
    Prefs::reset(std::vector<std::shared_ptr<Prefs::_AnyKey>>{one, two});
    EXPECT_FALSE(a->objectForKey("one") == PropertyList(1));
    EXPECT_FALSE(b->objectForKey("two") == PropertyList("2"));

    // Typed keys given with a suite still leave their own suites.
    store();
    Prefs::reset(*a, one, two);
    EXPECT_EQ(Prefs::get(two), "");

    store();
    Prefs::reset(*a, "three", std::string("one"));
    EXPECT_FALSE(stored(a, "three"));
    EXPECT_TRUE(stored(b, "three"));
    Prefs::reset(*b, std::vector<std::string>{"three", "two"});
    EXPECT_FALSE(stored(b, "three"));
    EXPECT_EQ(Prefs::get(two), "");
}

TEST_F(KeyTest, RemoveAllRemovesEveryKeyOnceAndNotifiesEach) {
    const auto defaults = suite();
    defaults->registerDefaults({{"registered", true}});
    defaults->setObject(1, "a");
    defaults->setObject("b", "b");
    const auto counter = std::make_shared<Counter>();
    for (const char* name : {"a", "b", "registered"})
        defaults->addObserver(*counter, name, foundation::KeyValueObservingOption::newValue, nullptr);

    Prefs::removeAll(*defaults);
    EXPECT_EQ(counter->counts, (std::map<std::string, int>{{"a", 1}, {"b", 1}, {"registered", 1}}));
    EXPECT_TRUE(defaults->objectForKey("a").isAbsent());
    EXPECT_TRUE(suite()->objectForKey("b").isAbsent()) << "removed from the suite, not only this object";
    for (const char* name : {"a", "b", "registered"})
        defaults->removeObserver(*counter, name);
}

TEST(KeyDeathTest, AKeyNeedsASuite) {
    EXPECT_DEATH(Prefs::Key<int>("k", 1, nullptr), "Fatal error: Prefs.Key: no suite");
}
