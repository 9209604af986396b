#include "security/KeychainBackend.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

using namespace security;

// No session bus at all: every call fails at once, without starting or asking anything.
TEST(SecretServiceKeychainTest, WithoutASessionBusNothingIsThere) {
    testing_support::TemporaryFolder runtime;
    testing_support::ScopedEnvironment address("DBUS_SESSION_BUS_ADDRESS", nullptr);
    testing_support::ScopedEnvironment folder("XDG_RUNTIME_DIR", runtime.path().c_str());
    const auto keychain = makeSecretServiceKeychain();
    ItemQuery query;
    query.attributes.service = "org.quoril.tests";
    query.attributes.account = "k";
    query.valueData = foundation::Data{'v'};
    EXPECT_EQ(keychain->add(query), errSecNotAvailable);
    query.returns = ItemQuery::Return::data;
    EXPECT_EQ(keychain->copyMatching(query).status, errSecNotAvailable);
    EXPECT_EQ(keychain->remove(query), errSecNotAvailable);
    EXPECT_EQ(keychain->update(query, query), errSecNotAvailable);
}
