#include "Prefs/UserDefaultsKeyValueStore.h"

#include "foundation/Fatal.h"

#include <utility>

namespace Prefs {

UserDefaultsKeyValueStore::UserDefaultsKeyValueStore(std::shared_ptr<foundation::UserDefaults> suite)
    : suite_(std::move(suite)) {
    if (!suite_) foundation::fatal("Prefs.UserDefaultsKeyValueStore: no suite");
}

foundation::PropertyList UserDefaultsKeyValueStore::objectForKey(std::string_view key) const {
    return suite_->objectForKey(key);
}

void UserDefaultsKeyValueStore::set(const foundation::PropertyList& object, std::string_view key) {
    suite_->setObject(object, key);
}

void UserDefaultsKeyValueStore::removeObjectForKey(std::string_view key) {
    suite_->removeObjectForKey(key);
}

bool UserDefaultsKeyValueStore::synchronize() {
    return suite_->synchronize();
}

} // namespace Prefs
