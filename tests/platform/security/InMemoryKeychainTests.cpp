#include "security/KeychainBackend.h"

#include <gtest/gtest.h>

using namespace security;

namespace {

ItemQuery item(std::string account, std::string value, std::optional<std::string> accessible = std::nullopt,
               std::string service = "org.quoril.test") {
    ItemQuery query;
    query.attributes.service = std::move(service);
    query.attributes.account = account;
    query.attributes.generic = account;
    query.attributes.accessible = std::move(accessible);
    query.valueData = foundation::Data(value.begin(), value.end());
    return query;
}

ItemQuery lookup(std::string account, ItemQuery::Return returns) {
    ItemQuery query = item(std::move(account), "");
    query.valueData.reset();
    query.matchLimitOne = true;
    query.returns = returns;
    return query;
}

// Each test uses a backend of its own and leaves the unavailable one behind.
class InMemoryKeychainTest : public ::testing::Test {
protected:
    std::shared_ptr<InMemoryKeychain> keychain = std::make_shared<InMemoryKeychain>();
    void SetUp() override { setKeychainBackend(keychain); }
    void TearDown() override { setKeychainBackend(nullptr); }
};

} // namespace

TEST_F(InMemoryKeychainTest, ThePrimaryKeyIgnoresAccessibility) {
    EXPECT_EQ(SecItemAdd(item("a", "1", std::string(kSecAttrAccessibleWhenUnlocked))), errSecSuccess);
    EXPECT_EQ(SecItemAdd(item("a", "2", std::string(kSecAttrAccessibleAfterFirstUnlock))),
              errSecDuplicateItem);
    EXPECT_EQ(SecItemAdd(item("a", "3", std::nullopt, "org.quoril.other")), errSecSuccess);
    ItemQuery grouped = item("a", "4");
    grouped.attributes.accessGroup = "group";
    EXPECT_EQ(SecItemAdd(grouped), errSecSuccess);

    const auto value = SecItemCopyMatching(lookup("a", ItemQuery::Return::data));
    EXPECT_EQ(value.status, errSecSuccess);
    EXPECT_EQ(value.data, foundation::Data{'1'});
    const auto attributes = SecItemCopyMatching(lookup("a", ItemQuery::Return::attributes));
    ASSERT_TRUE(attributes.attributes);
    EXPECT_EQ(attributes.attributes->accessible, std::string(kSecAttrAccessibleWhenUnlocked));
    const auto reference = SecItemCopyMatching(lookup("a", ItemQuery::Return::persistentRef));
    EXPECT_TRUE(reference.data);
    EXPECT_EQ(SecItemCopyMatching(lookup("a", ItemQuery::Return::persistentRef)).data, reference.data);

    ItemQuery wrongLevel = lookup("a", ItemQuery::Return::data);
    wrongLevel.attributes.accessible = std::string(kSecAttrAccessibleAfterFirstUnlock);
    EXPECT_EQ(SecItemCopyMatching(wrongLevel).status, errSecItemNotFound);
    EXPECT_EQ(SecItemUpdate(wrongLevel, item("a", "5")), errSecItemNotFound);
}

TEST_F(InMemoryKeychainTest, DeletesFindOnlyOurItems) {
    ItemAttributes foreign;
    foreign.service = "org.quoril.test";
    foreign.account = "a";
    keychain->addForeignItem(foreign, {'x'});
    SecItemAdd(item("a", "1"));
    SecItemAdd(item("b", "2"));
    ItemQuery everything;
    EXPECT_EQ(SecItemDelete(everything), errSecSuccess);
    EXPECT_EQ(SecItemDelete(everything), errSecItemNotFound);
    EXPECT_EQ(keychain->count(), 1u);
    EXPECT_EQ(keychain->foreignCount(), 1u);

    setKeychainBackend(makeUnavailableKeychain());
    EXPECT_EQ(SecItemAdd(item("a", "1")), errSecNotAvailable);
    EXPECT_EQ(SecItemCopyMatching(lookup("a", ItemQuery::Return::data)).data, std::nullopt);
}
