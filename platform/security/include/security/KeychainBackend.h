#pragma once

#include "security/Keychain.h"

#include <memory>

namespace security {

// Where the keychain calls go. One process-wide backend; tests replace it.
class KeychainBackend {
public:
    virtual ~KeychainBackend() = default;
    virtual OSStatus add(const ItemQuery& query) = 0;
    virtual OSStatus update(const ItemQuery& match, const ItemQuery& changes) = 0;
    virtual CopyResult copyMatching(const ItemQuery& query) = 0;
    virtual OSStatus remove(const ItemQuery& query) = 0;
};

// The backend in use: the Secret Service's default collection unless another is set.
std::shared_ptr<KeychainBackend> keychainBackend();
// Null sets the Secret Service again.
void setKeychainBackend(std::shared_ptr<KeychainBackend> backend);

// Items of our own schema in the Secret Service's default collection; the persistent reference
// is the item's object path. Without a session bus, without a running Secret Service, or with
// the collection locked, every call gives errSecNotAvailable at once: it never prompts.
std::shared_ptr<KeychainBackend> makeSecretServiceKeychain();
// A keychain that is not there: every call gives errSecNotAvailable.
std::shared_ptr<KeychainBackend> makeUnavailableKeychain();

// Items in memory, under the same rules as a real keychain. It can also hold items of another
// program, which queries never find.
class InMemoryKeychain : public KeychainBackend {
public:
    InMemoryKeychain();
    ~InMemoryKeychain() override;

    OSStatus add(const ItemQuery& query) override;
    OSStatus update(const ItemQuery& match, const ItemQuery& changes) override;
    CopyResult copyMatching(const ItemQuery& query) override;
    OSStatus remove(const ItemQuery& query) override;

    void addForeignItem(const ItemAttributes& attributes, foundation::Data value);
    // Every item, ours and foreign.
    std::size_t count() const;
    std::size_t foreignCount() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace security
