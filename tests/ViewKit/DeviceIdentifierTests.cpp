#include "ViewKit/DeviceIdentifier.h"

#include "security/KeychainBackend.h"

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

using ViewKit::DeviceIdentifier;

namespace {

class DeviceIdentifierTest : public ::testing::Test {
protected:
    testing_support::TemporaryFolder folder;
    testing_support::ScopedEnvironment config{"XDG_CONFIG_HOME", folder.path().c_str()};
    std::shared_ptr<foundation::UserDefaults> defaults =
        foundation::UserDefaults::make("org.quoril.tests.device");
    std::shared_ptr<ViewKit::KeychainService> keychain = std::make_shared<ViewKit::KeychainService>(
        std::make_shared<ViewKit::KeychainWrapper>("org.quoril.tests"));
    DeviceIdentifier identifier{keychain, std::nullopt, defaults};

    void SetUp() override { security::setKeychainBackend(std::make_shared<security::InMemoryKeychain>()); }
    void TearDown() override { security::setKeychainBackend(nullptr); }

    std::optional<std::string> defaultsCopy() const {
        const auto value = defaults->objectForKey(DeviceIdentifier::key);
        return value.string() ? std::optional(*value.string()) : std::nullopt;
    }
};

// Counts the writes, to see that reads go through the overridable setter.
class CountingIdentifier : public DeviceIdentifier {
public:
    using DeviceIdentifier::DeviceIdentifier;
    int writes = 0;
    bool setIdentifier(const std::string& value) override {
        ++writes;
        return DeviceIdentifier::setIdentifier(value);
    }
};

} // namespace

TEST_F(DeviceIdentifierTest, AReadRestoresTheMissingCopy) {
    const std::string first = identifier.getIdentifier();
    EXPECT_EQ(first.size(), 36u);
    EXPECT_EQ(first.find_first_of("abcdef"), std::string::npos);
    EXPECT_EQ(identifier.getIdentifier(), first);

    defaults->removeObjectForKey(DeviceIdentifier::key);
    EXPECT_EQ(identifier.getIdentifier(), first);
    EXPECT_EQ(defaultsCopy(), first);

    keychain->remove(DeviceIdentifier::key);
    EXPECT_EQ(identifier.getIdentifier(), first);
    EXPECT_EQ(keychain->string(DeviceIdentifier::key), first);

    // Both there and different: the keychain wins and nothing is written.
    defaults->setObject(foundation::PropertyList(std::string("OTHER")), DeviceIdentifier::key);
    EXPECT_EQ(identifier.getIdentifier(), first);
    EXPECT_EQ(defaultsCopy(), "OTHER");

    EXPECT_TRUE(identifier.resetIdentifier());
    EXPECT_EQ(defaultsCopy(), std::nullopt);
    EXPECT_NE(identifier.getIdentifier(), first);
}

TEST_F(DeviceIdentifierTest, ReadsWriteThroughTheOverridableSetterAndConcurrentFirstReadsAgree) {
    CountingIdentifier counting(keychain, std::nullopt, defaults);
    const std::string value = counting.getIdentifier();
    EXPECT_EQ(counting.writes, 1);
    counting.getIdentifier();
    EXPECT_EQ(counting.writes, 1);

    EXPECT_TRUE(identifier.resetIdentifier());
    std::vector<std::string> seen(8);
    std::vector<std::thread> readers;
    for (std::size_t i = 0; i < seen.size(); ++i)
        readers.emplace_back(
            [&, i] { seen[i] = DeviceIdentifier(keychain, std::nullopt, defaults).getIdentifier(); });
    for (auto& reader : readers)
        reader.join();
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_EQ(keychain->string(DeviceIdentifier::key), seen.front());
    EXPECT_EQ(defaultsCopy(), seen.front());
}
