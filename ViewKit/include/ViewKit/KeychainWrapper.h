#pragma once

#include "ViewKit/KeychainItemAccessibility.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"
#include "foundation/NSNumber.h"
#include "foundation/PropertyList.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ViewKit {

// The service name when the main bundle has no identifier.
inline constexpr std::string_view keychainFallbackServiceName = "org.quoril.ViewKit.keychain";

// Small values kept as generic-password keychain items, one item per key, all under one
// service name and an optional access group. Getters give nothing when there is no item, the
// keychain fails or the bytes do not convert; setters and removers say whether they worked.
// Nothing throws. A key that is not UTF-8 is refused before any keychain call.
class KeychainWrapper {
public:
    using Accessibility = std::optional<KeychainItemAccessibility>;

    // The main bundle's identifier as the service name, or the fallback.
    KeychainWrapper();
    explicit KeychainWrapper(std::string serviceName, std::optional<std::string> accessGroup = std::nullopt);
    virtual ~KeychainWrapper() = default;

    const std::string& serviceName() const { return serviceName_; }
    const std::optional<std::string>& accessGroup() const { return accessGroup_; }

    virtual std::optional<KeychainItemAccessibility> accessibility(std::string_view key) const;
    virtual std::optional<bool> boolValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<foundation::Data> data(std::string_view key,
                                                 Accessibility accessibility = {}) const;
    virtual std::optional<double> doubleValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<float> floatValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual bool hasValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<std::int64_t> integer(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::shared_ptr<foundation::NSNumber> number(std::string_view key,
                                                         Accessibility accessibility = {}) const;
    // Null unless the bytes are a keyed archive of a T.
    template <foundation::SecureCodingClass T>
    std::shared_ptr<T> object(std::string_view key, Accessibility accessibility = {}) const {
        const auto bytes = data(key, accessibility);
        if (!bytes) return nullptr;
        try {
            return foundation::KeyedUnarchiver::unarchivedObject<T>(*bytes);
        } catch (...) {
            return nullptr;
        }
    }
    virtual std::optional<std::string> string(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<foundation::Data> persistentRef(std::string_view key,
                                                          Accessibility accessibility = {}) const;

    virtual bool set(std::int64_t value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(float value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(double value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(bool value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(std::string_view value, std::string_view key, Accessibility accessibility = {});
    bool set(const char* value, std::string_view key, Accessibility accessibility = {}) {
        return set(std::string_view(value), key, accessibility);
    }
    bool set(int value, std::string_view key, Accessibility accessibility = {}) {
        return set(std::int64_t(value), key, accessibility);
    }
    template <foundation::SecureCodingClass T>
    bool setObject(const T& value, std::string_view key, Accessibility accessibility = {}) {
        foundation::Data bytes;
        try {
            bytes = foundation::KeyedArchiver::archivedData(value, false);
        } catch (...) {
            return false;
        }
        return set(bytes, key, accessibility);
    }
    virtual bool set(const foundation::Data& value, std::string_view key, Accessibility accessibility = {});

    virtual bool remove(std::string_view key, Accessibility accessibility = {});
    virtual bool removeAll();

    // Deletes every item of the toolkit's own, of every service; other programs' items stay.
    static void wipeKeychain();

private:
    std::string serviceName_;
    std::optional<std::string> accessGroup_;
};

} // namespace ViewKit
