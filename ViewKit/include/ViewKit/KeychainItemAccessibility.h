#pragma once

#include <optional>
#include <string_view>

namespace ViewKit {

// When a keychain item may be read. Stored as the keychain's attribute text.
enum class KeychainItemAccessibility {
    afterFirstUnlock,
    afterFirstUnlockThisDeviceOnly,
    whenPasscodeSetThisDeviceOnly,
    whenUnlocked,
    whenUnlockedThisDeviceOnly,
};

// The keychain attribute value of the level.
std::string_view attributeValue(KeychainItemAccessibility accessibility);
// The level whose attribute value is `value`; nothing for any other text.
std::optional<KeychainItemAccessibility> keychainItemAccessibility(std::string_view value);

} // namespace ViewKit
