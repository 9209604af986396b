#pragma once

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// Each test gets a configuration folder of its own, which a helper process inherits.
class SuiteTest : public ::testing::Test {
protected:
    const std::filesystem::path& folder() const { return folder_.path(); }
    std::filesystem::path fileOf(std::string_view suite) const {
        return folder() / (std::string(suite) + ".plist");
    }

    static std::shared_ptr<foundation::UserDefaults> suite(std::string_view name = "com.example.test") {
        auto defaults = foundation::UserDefaults::make(name);
        EXPECT_TRUE(defaults) << name;
        return defaults;
    }

    static std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    // The file's values as any reader gets them; nullopt when it does not parse.
    static std::optional<foundation::PropertyList> parse(const std::filesystem::path& path) {
        try {
            return foundation::PropertyListSerialization::propertyList(bytesOf(path));
        } catch (const foundation::PropertyListError&) {
            return std::nullopt;
        }
    }

private:
    TemporaryFolder folder_;
    ScopedEnvironment config_{"XDG_CONFIG_HOME", folder_.path().c_str()};
};

// One value of every kind a suite can store.
inline foundation::PropertyList::Dictionary everyKind() {
    using foundation::Data;
    using foundation::Date;
    using foundation::PropertyList;
    return {
        {"bool", true},
        {"false", false},
        {"int", -42},
        {"big", std::numeric_limits<std::int64_t>::max()},
        {"unsigned", 7u},
        {"real", 2.25},
        {"text", "héllo \"world\""},
        {"empty text", ""},
        {"data", Data{0, 1, 2, 255}},
        {"date", Date(123456.7890123)},
        {"old date", Date(-86400.25)},
        {"array", PropertyList::Array{1, "x", PropertyList::Array{}, PropertyList::Dictionary{}}},
        {"nested", PropertyList::Dictionary{{"inner", PropertyList::Dictionary{{"k", false}}}}},
    };
}

// What a value is after a trip through a plist file: dates to the microsecond, integers signed.
inline foundation::PropertyList throughAFile(const foundation::PropertyList& value) {
    using foundation::PropertyListSerialization;
    return PropertyListSerialization::propertyList(
        PropertyListSerialization::data(value, foundation::PropertyListFormat::binary));
}

} // namespace testing_support
