#include "ViewKit/DeviceIdentifier.h"

#include "foundation/UUID.h"

#include <mutex>

namespace ViewKit {

namespace {

// Two first reads at once would mint two identifiers and hand out one that is never stored.
std::mutex firstReadMutex;

} // namespace

DeviceIdentifier::DeviceIdentifier(std::shared_ptr<KeychainService> keychainService,
                                   KeychainService::Accessibility accessibility,
                                   std::shared_ptr<foundation::UserDefaults> store)
    : keychainService_(std::move(keychainService))
    , accessibility_(accessibility)
    , store_(std::move(store)) {}

std::string DeviceIdentifier::getIdentifier() {
    std::lock_guard lock(firstReadMutex);
    const auto kept = keychainService_->string(key, accessibility_);
    const foundation::PropertyList stored = store_->objectForKey(key);
    const std::string* defaults = stored.string();
    if (kept && defaults) return *kept;
    const std::string identifier = kept ? *kept : defaults ? *defaults : foundation::UUID().uuidString();
    setIdentifier(identifier);
    return identifier;
}

bool DeviceIdentifier::resetIdentifier() {
    store_->removeObjectForKey(key);
    return keychainService_->remove(key, accessibility_);
}

bool DeviceIdentifier::setIdentifier(const std::string& identifier) {
    store_->setObject(foundation::PropertyList(identifier), key);
    return keychainService_->set(std::string_view(identifier), key, accessibility_);
}

} // namespace ViewKit
