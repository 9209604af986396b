#include "ViewKit/KeychainItemAccessibility.h"

#include "security/Keychain.h"

#include <array>
#include <utility>

namespace ViewKit {

namespace {

using A = KeychainItemAccessibility;

// One table, read both ways.
constexpr std::array<std::pair<A, std::string_view>, 5> accessibilityTable{{
    {A::afterFirstUnlock, security::kSecAttrAccessibleAfterFirstUnlock},
    {A::afterFirstUnlockThisDeviceOnly, security::kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly},
    {A::whenPasscodeSetThisDeviceOnly, security::kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly},
    {A::whenUnlocked, security::kSecAttrAccessibleWhenUnlocked},
    {A::whenUnlockedThisDeviceOnly, security::kSecAttrAccessibleWhenUnlockedThisDeviceOnly},
}};

} // namespace

std::string_view attributeValue(KeychainItemAccessibility accessibility) {
    for (const auto& [level, value] : accessibilityTable)
        if (level == accessibility) return value;
    return {};
}

std::optional<KeychainItemAccessibility> keychainItemAccessibility(std::string_view value) {
    for (const auto& [level, text] : accessibilityTable)
        if (text == value) return level;
    return std::nullopt;
}

} // namespace ViewKit
