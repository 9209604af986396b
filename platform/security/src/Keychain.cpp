#include "security/Keychain.h"

#include "security/KeychainBackend.h"

#include <mutex>

namespace security {

namespace {

class UnavailableKeychain : public KeychainBackend {
public:
    OSStatus add(const ItemQuery&) override { return errSecNotAvailable; }
    OSStatus update(const ItemQuery&, const ItemQuery&) override { return errSecNotAvailable; }
    CopyResult copyMatching(const ItemQuery&) override { return {errSecNotAvailable, {}, {}}; }
    OSStatus remove(const ItemQuery&) override { return errSecNotAvailable; }
};

std::mutex backendMutex;

std::shared_ptr<KeychainBackend>& backendSlot() {
    static std::shared_ptr<KeychainBackend> backend = makeSecretServiceKeychain();
    return backend;
}

} // namespace

std::shared_ptr<KeychainBackend> keychainBackend() {
    std::lock_guard lock(backendMutex);
    return backendSlot();
}

void setKeychainBackend(std::shared_ptr<KeychainBackend> backend) {
    std::lock_guard lock(backendMutex);
    backendSlot() = backend ? std::move(backend) : makeSecretServiceKeychain();
}

std::shared_ptr<KeychainBackend> makeUnavailableKeychain() {
    return std::make_shared<UnavailableKeychain>();
}

OSStatus SecItemAdd(const ItemQuery& query) {
    return keychainBackend()->add(query);
}

OSStatus SecItemUpdate(const ItemQuery& match, const ItemQuery& changes) {
    return keychainBackend()->update(match, changes);
}

CopyResult SecItemCopyMatching(const ItemQuery& query) {
    return keychainBackend()->copyMatching(query);
}

OSStatus SecItemDelete(const ItemQuery& query) {
    return keychainBackend()->remove(query);
}

} // namespace security
