#pragma once

#include "ViewKit/KeychainService.h"

#include "foundation/UserDefaults.h"

#include <memory>
#include <string>
#include <string_view>

namespace ViewKit {

// A stable identifier of this installation, kept twice, in user defaults and in the keychain,
// so that it outlives the loss of either copy.
class DeviceIdentifier {
public:
    // The user-defaults key and keychain item key of both copies.
    static constexpr std::string_view key = "org.quoril.ViewKit.deviceIdentifier";

    DeviceIdentifier(std::shared_ptr<KeychainService> keychainService,
                     KeychainService::Accessibility accessibility,
                     std::shared_ptr<foundation::UserDefaults> store);
    virtual ~DeviceIdentifier() = default;

    // The keychain copy when there is one (the user-defaults copy is then left as it is), else
    // the user-defaults copy, else a new upper-case UUID text; in the last two cases it is
    // written to both through setIdentifier. Concurrent first reads of the process get one
    // identifier.
    virtual std::string getIdentifier();
    // Removes both copies; the keychain's flag.
    virtual bool resetIdentifier();
    // Writes both copies, user defaults first; the keychain's flag.
    virtual bool setIdentifier(const std::string& identifier);

private:
    std::shared_ptr<KeychainService> keychainService_;
    KeychainService::Accessibility accessibility_;
    std::shared_ptr<foundation::UserDefaults> store_;
};

} // namespace ViewKit
