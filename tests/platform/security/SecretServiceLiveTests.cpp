// Runs only inside scripts/secret-service-test (a session bus of its own with an unlocked
// keyring daemon), which sets QUORIL_SECRET_SERVICE_TEST.
#include "security/KeychainBackend.h"

#include <libsecret/secret.h>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace security;

namespace {

ItemQuery item(std::string service, std::string account) {
    ItemQuery query;
    query.attributes.service = std::move(service);
    query.attributes.account = std::move(account);
    return query;
}

ItemQuery withValue(ItemQuery query, std::string value) {
    query.valueData = foundation::Data(value.begin(), value.end());
    query.attributes.accessible = std::string(kSecAttrAccessibleWhenUnlocked);
    return query;
}

ItemQuery returning(ItemQuery query, ItemQuery::Return returns) {
    query.matchLimitOne = true;
    query.returns = returns;
    return query;
}

const SecretSchema otherProgram = [] {
    SecretSchema s{};
    s.name = "org.example.OtherProgram";
    s.attributes[0] = {"service", SECRET_SCHEMA_ATTRIBUTE_STRING};
    return s;
}();

} // namespace

TEST(SecretServiceLiveTest, ItemsLiveInTheDefaultCollection) {
    if (!std::getenv("QUORIL_SECRET_SERVICE_TEST")) GTEST_SKIP() << "needs scripts/secret-service-test";
    const auto keychain = makeSecretServiceKeychain();
    GError* error = nullptr;
    ASSERT_TRUE(secret_password_store_sync(&otherProgram, SECRET_COLLECTION_DEFAULT, "other", "secret",
                                           nullptr, &error, "service", "org.quoril.one", nullptr));

    EXPECT_EQ(keychain->add(withValue(item("org.quoril.one", "k"), "1")), errSecSuccess);
    EXPECT_EQ(keychain->add(withValue(item("org.quoril.one", "k"), "2")), errSecDuplicateItem);
    EXPECT_EQ(keychain->update(item("org.quoril.one", "k"), withValue({}, "3")), errSecSuccess);
    EXPECT_EQ(keychain->copyMatching(returning(item("org.quoril.one", "k"), ItemQuery::Return::data)).data,
              foundation::Data{'3'});
    const auto attributes =
        keychain->copyMatching(returning(item("org.quoril.one", "k"), ItemQuery::Return::attributes));
    ASSERT_TRUE(attributes.attributes);
    EXPECT_EQ(attributes.attributes->accessible, std::string(kSecAttrAccessibleWhenUnlocked));
    EXPECT_TRUE(
        keychain->copyMatching(returning(item("org.quoril.one", "k"), ItemQuery::Return::persistentRef))
            .data);

    EXPECT_EQ(keychain->remove(item("org.quoril.one", "k")), errSecSuccess);
    EXPECT_EQ(keychain->remove(item("org.quoril.one", "k")), errSecItemNotFound);

    keychain->add(withValue(item("org.quoril.one", "a"), "1"));
    keychain->add(withValue(item("org.quoril.two", "b"), "2"));
    ItemQuery service;
    service.attributes.service = "org.quoril.one";
    EXPECT_EQ(keychain->remove(service), errSecSuccess);
    EXPECT_EQ(keychain->copyMatching(returning(item("org.quoril.two", "b"), ItemQuery::Return::data)).status,
              errSecSuccess);
    EXPECT_EQ(keychain->remove(ItemQuery{}), errSecSuccess); // the wipe: every item of ours
    EXPECT_EQ(keychain->copyMatching(returning(item("org.quoril.two", "b"), ItemQuery::Return::data)).status,
              errSecItemNotFound);

    gchar* survivor =
        secret_password_lookup_sync(&otherProgram, nullptr, &error, "service", "org.quoril.one", nullptr);
    ASSERT_NE(survivor, nullptr);
    EXPECT_STREQ(survivor, "secret");
    secret_password_free(survivor);
}
