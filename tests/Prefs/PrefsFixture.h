#pragma once

#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include "foundation/JSONCoding.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"
#include "foundation/UserDefaults.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {
// Readable failures. Here, where every test of stored objects sees it, so that all of them
// print property lists the same way.
inline void PrintTo(const PropertyList& value, std::ostream* out) {
    *out << value.description();
}
} // namespace foundation

namespace prefs_testing {

// Each test gets a configuration folder of its own.
class PrefsTest : public ::testing::Test {
protected:
    static std::shared_ptr<foundation::UserDefaults> suite(std::string_view name = "com.example.prefs") {
        auto defaults = foundation::UserDefaults::make(name);
        EXPECT_TRUE(defaults) << name;
        return defaults;
    }

    // What the suite's file holds under `key`, as another reader sees it.
    foundation::PropertyList storedInFile(std::string_view suiteName, std::string_view key) const {
        std::ifstream in(folder_.path() / (std::string(suiteName) + ".plist"), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        if (bytes.empty()) return {};
        return foundation::PropertyListSerialization::propertyList(bytes)[key];
    }

private:
    testing_support::TemporaryFolder folder_;
    testing_support::ScopedEnvironment config_{"XDG_CONFIG_HOME", folder_.path().c_str()};
};

// A structure that codes as JSON, with its fields out of alphabetical order.
struct Window {
    std::string title;
    double width = 0;
    bool operator==(const Window&) const = default;
};

inline void to_json(nlohmann::json& json, const Window& window) {
    json = {{"width", window.width}, {"title", window.title}};
}
inline void from_json(const nlohmann::json& json, Window& window) {
    window.title = foundation::decodeJSONField<std::string>(json, "title");
    window.width = foundation::decodeJSONField<double>(json, "width");
}

} // namespace prefs_testing
