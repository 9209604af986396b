#pragma once

#include "foundation/PropertyList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Keychain items: a class, a few attributes and a value, found by queries. Every call goes to
// the process-wide backend (KeychainBackend.h).
namespace security {

using OSStatus = std::int32_t;
inline constexpr OSStatus errSecSuccess = 0;
inline constexpr OSStatus errSecDuplicateItem = -25299;
inline constexpr OSStatus errSecItemNotFound = -25300;
// No keychain to ask: no backend, no service, or a locked one.
inline constexpr OSStatus errSecNotAvailable = -25291;

inline constexpr std::string_view kSecClassGenericPassword = "kSecClassGenericPassword";
inline constexpr std::string_view kSecClassInternetPassword = "kSecClassInternetPassword";
inline constexpr std::string_view kSecClassCertificate = "kSecClassCertificate";
inline constexpr std::string_view kSecClassKey = "kSecClassKey";
inline constexpr std::string_view kSecClassIdentity = "kSecClassIdentity";

// Accessibility levels; stored as these very texts.
inline constexpr std::string_view kSecAttrAccessibleAfterFirstUnlock = "kSecAttrAccessibleAfterFirstUnlock";
inline constexpr std::string_view kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly =
    "kSecAttrAccessibleAfterFirstUnlockThisDeviceOnly";
inline constexpr std::string_view kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly =
    "kSecAttrAccessibleWhenPasscodeSetThisDeviceOnly";
inline constexpr std::string_view kSecAttrAccessibleWhenUnlocked = "kSecAttrAccessibleWhenUnlocked";
inline constexpr std::string_view kSecAttrAccessibleWhenUnlockedThisDeviceOnly =
    "kSecAttrAccessibleWhenUnlockedThisDeviceOnly";

// The attributes of one item; an absent one is not set.
struct ItemAttributes {
    std::string itemClass{kSecClassGenericPassword};
    std::optional<std::string> service;
    std::optional<std::string> account;
    std::optional<std::string> generic;
    std::optional<std::string> accessible;
    std::optional<std::string> accessGroup;

    bool operator==(const ItemAttributes&) const = default;
};

// A query: the attributes to match (an absent one matches any value), the value to store, and
// what to give back. Queries that return something match one item at most.
struct ItemQuery {
    enum class Return { nothing, data, attributes, persistentRef };

    ItemAttributes attributes;
    std::optional<foundation::Data> valueData;
    bool matchLimitOne = false;
    Return returns = Return::nothing;
};

struct CopyResult {
    OSStatus status = errSecItemNotFound;
    // The value or the persistent reference, as asked.
    std::optional<foundation::Data> data;
    std::optional<ItemAttributes> attributes;
};

// A new item of `query`'s attributes and value. An item of the same class, service, account and
// access group is a duplicate, whatever its accessibility.
OSStatus SecItemAdd(const ItemQuery& query);
// Gives every item that `match` finds the value of `changes`.
OSStatus SecItemUpdate(const ItemQuery& match, const ItemQuery& changes);
CopyResult SecItemCopyMatching(const ItemQuery& query);
// Deletes every item the query finds; errSecItemNotFound when there is none.
OSStatus SecItemDelete(const ItemQuery& query);

} // namespace security
