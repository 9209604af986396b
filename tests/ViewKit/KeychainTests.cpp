#include "ViewKit/KeychainService.h"
#include "ViewKit/KeychainWrapper.h"

#include "foundation/NSFontDescriptor.h"
#include "security/KeychainBackend.h"

#include <gtest/gtest.h>

using ViewKit::KeychainItemAccessibility;
using ViewKit::KeychainWrapper;

namespace {

// Every test gets an empty keychain in memory and leaves none behind.
class KeychainTest : public ::testing::Test {
protected:
    std::shared_ptr<security::InMemoryKeychain> keychain = std::make_shared<security::InMemoryKeychain>();
    KeychainWrapper wrapper{"org.quoril.tests"};
    void SetUp() override { security::setKeychainBackend(keychain); }
    void TearDown() override { security::setKeychainBackend(nullptr); }
};

} // namespace

TEST_F(KeychainTest, SettingTwiceUpdatesAndKeepsTheLevel) {
    EXPECT_TRUE(wrapper.set("first", "token"));
    EXPECT_TRUE(wrapper.set("second", "token"));
    EXPECT_EQ(wrapper.string("token"), "second");
    EXPECT_EQ(wrapper.accessibility("token"), KeychainItemAccessibility::whenUnlocked);
    EXPECT_EQ(wrapper.string("token", KeychainItemAccessibility::afterFirstUnlock), std::nullopt);
    // Another level does not find the item to update: false, and the value stays.
    EXPECT_FALSE(wrapper.set("third", "token", KeychainItemAccessibility::afterFirstUnlock));
    EXPECT_EQ(wrapper.string("token"), "second");
    EXPECT_TRUE(wrapper.set("fourth", "token", KeychainItemAccessibility::whenUnlocked));
    EXPECT_EQ(wrapper.string("token"), "fourth");

    EXPECT_FALSE(wrapper.remove("missing"));
    EXPECT_TRUE(wrapper.remove("token"));
    EXPECT_FALSE(wrapper.hasValue("token"));
}

TEST_F(KeychainTest, NumbersReadThroughEveryGetter) {
    EXPECT_EQ(wrapper.boolValue("flag"), std::nullopt);
    EXPECT_TRUE(wrapper.set(0, "flag"));
    EXPECT_EQ(wrapper.boolValue("flag"), false);
    EXPECT_TRUE(wrapper.set(1, "one"));
    EXPECT_EQ(wrapper.boolValue("one"), true);
    EXPECT_TRUE(wrapper.set(0.5f, "half"));
    EXPECT_EQ(wrapper.doubleValue("half"), 0.5);
    EXPECT_TRUE(wrapper.set(2.75, "more"));
    EXPECT_EQ(wrapper.floatValue("more"), 2.75f);
    EXPECT_EQ(wrapper.integer("more"), 2);
    EXPECT_TRUE(wrapper.set(true, "yes"));
    EXPECT_EQ(wrapper.integer("yes"), 1);
    // Text is no number, and bytes that are no UTF-8 are no text.
    EXPECT_TRUE(wrapper.set("12", "text"));
    EXPECT_EQ(wrapper.integer("text"), std::nullopt);
    EXPECT_TRUE(wrapper.set(foundation::Data{0xFF, 0xFE}, "bytes"));
    EXPECT_EQ(wrapper.string("bytes"), std::nullopt);
    EXPECT_EQ(wrapper.data("bytes"), (foundation::Data{0xFF, 0xFE}));
}

TEST_F(KeychainTest, ObjectsReferencesAndInvalidKeys) {
    const foundation::NSFontDescriptor font("DejaVu Sans", 13);
    EXPECT_TRUE(wrapper.setObject(font, "font"));
    const auto back = wrapper.object<foundation::NSFontDescriptor>("font");
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, font);
    EXPECT_EQ(wrapper.object<foundation::NSNumber>("font"), nullptr);

    const auto reference = wrapper.persistentRef("font");
    EXPECT_TRUE(reference);
    EXPECT_EQ(wrapper.persistentRef("font"), reference);

    const std::string invalid = "a\xFF";
    EXPECT_FALSE(wrapper.set("x", invalid));
    EXPECT_EQ(wrapper.data(invalid), std::nullopt);
    EXPECT_FALSE(wrapper.remove(invalid));
    EXPECT_TRUE(wrapper.hasValue("font")); // nothing else was touched
}

TEST_F(KeychainTest, RemoveAllAndWipeStayWithinTheirReach) {
    KeychainWrapper other("org.quoril.other");
    KeychainWrapper groupA("org.quoril.tests", "group.a");
    KeychainWrapper groupB("org.quoril.tests", "group.b");
    wrapper.set("1", "k");
    other.set("2", "k");
    groupA.set("3", "k");
    groupB.set("4", "k");
    EXPECT_TRUE(groupA.removeAll());
    EXPECT_EQ(groupB.string("k"), "4");
    EXPECT_TRUE(wrapper.removeAll()); // no group: every item of the service
    EXPECT_EQ(other.string("k"), "2");
    EXPECT_FALSE(groupB.hasValue("k"));

    security::ItemAttributes foreign;
    foreign.service = "org.quoril.other";
    foreign.account = "k";
    keychain->addForeignItem(foreign, {'x'});
    wrapper.set("1", "k");
    KeychainWrapper::wipeKeychain();
    EXPECT_FALSE(wrapper.hasValue("k"));
    EXPECT_FALSE(other.hasValue("k"));
    EXPECT_EQ(keychain->count(), 1u);
    EXPECT_EQ(keychain->foreignCount(), 1u);
}

TEST_F(KeychainTest, TheServicePassesOnToItsWrapper) {
    ViewKit::KeychainService service(std::make_shared<KeychainWrapper>("org.quoril.tests"));
    EXPECT_TRUE(service.set(std::int64_t(7), "n", KeychainItemAccessibility::afterFirstUnlock));
    EXPECT_EQ(wrapper.integer("n"), 7);
    EXPECT_EQ(service.accessibility("n"), KeychainItemAccessibility::afterFirstUnlock);
    EXPECT_TRUE(service.removeAll());
    EXPECT_FALSE(wrapper.hasValue("n"));

    security::setKeychainBackend(security::makeUnavailableKeychain()); // no keychain at all
    EXPECT_FALSE(service.set("v", "k"));
    EXPECT_EQ(service.string("k"), std::nullopt);
}
