#pragma once

#include "ViewKit/KeychainWrapper.h"

#include <memory>

namespace ViewKit {

// A thin holder of a keychain wrapper that passes on a part of its operations unchanged.
class KeychainService {
public:
    using Accessibility = KeychainWrapper::Accessibility;

    explicit KeychainService(std::shared_ptr<KeychainWrapper> wrapper);
    virtual ~KeychainService() = default;

    // A service over a new wrapper with the default service name and no access group.
    static std::shared_ptr<KeychainService> makeDefault();

    const std::shared_ptr<KeychainWrapper>& wrapper() const { return wrapper_; }

    virtual std::optional<KeychainItemAccessibility> accessibility(std::string_view key) const;
    virtual std::optional<bool> boolValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<foundation::Data> data(std::string_view key,
                                                 Accessibility accessibility = {}) const;
    virtual std::optional<foundation::Data> persistentRef(std::string_view key,
                                                          Accessibility accessibility = {}) const;
    virtual std::optional<double> doubleValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<float> floatValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual bool hasValue(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<std::int64_t> integer(std::string_view key, Accessibility accessibility = {}) const;
    virtual std::optional<std::string> string(std::string_view key, Accessibility accessibility = {}) const;
    virtual bool remove(std::string_view key, Accessibility accessibility = {});
    virtual bool removeAll();

    virtual bool set(bool value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(const foundation::Data& value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(double value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(float value, std::string_view key, Accessibility accessibility = {});
    virtual bool set(std::int64_t value, std::string_view key, Accessibility accessibility = {});
    template <foundation::SecureCodingClass T>
    bool setObject(const T& value, std::string_view key, Accessibility accessibility = {}) {
        return wrapper_->setObject(value, key, accessibility);
    }
    virtual bool set(std::string_view value, std::string_view key, Accessibility accessibility = {});
    bool set(const char* value, std::string_view key, Accessibility accessibility = {}) {
        return set(std::string_view(value), key, accessibility);
    }
    bool set(int value, std::string_view key, Accessibility accessibility = {}) {
        return set(std::int64_t(value), key, accessibility);
    }

private:
    std::shared_ptr<KeychainWrapper> wrapper_;
};

} // namespace ViewKit
