#pragma once

#include "Prefs/PrefsKeyValueStore.h"

#include <memory>
#include <string_view>

#if __has_include("foundation/UbiquitousKeyValueStore.h")
#define PREFS_HAS_UBIQUITOUS_STORE 1
#include "foundation/UbiquitousKeyValueStore.h"
#else
#define PREFS_HAS_UBIQUITOUS_STORE 0
#endif

namespace Prefs {

#if PREFS_HAS_UBIQUITOUS_STORE
// The platform's iCloud key-value store seen as a key-value store: each operation is the
// store's own.
class UbiquitousKeyValueStoreAdapter final : public PrefsKeyValueStore {
public:
    explicit UbiquitousKeyValueStoreAdapter(std::shared_ptr<foundation::UbiquitousKeyValueStore> store);

    const std::shared_ptr<foundation::UbiquitousKeyValueStore>& store() const { return store_; }

    foundation::PropertyList objectForKey(std::string_view key) const override;
    void set(const foundation::PropertyList& object, std::string_view key) override;
    void removeObjectForKey(std::string_view key) override;
    bool synchronize() override;

private:
    const std::shared_ptr<foundation::UbiquitousKeyValueStore> store_;
};
#endif

namespace detail {
// The remote side of the shared synchroniser: the platform's default iCloud store. A build
// without that store gets one that lives in this process only.
std::shared_ptr<PrefsKeyValueStore> defaultRemoteStorage();
} // namespace detail

} // namespace Prefs
