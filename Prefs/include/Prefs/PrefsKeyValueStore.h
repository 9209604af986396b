#pragma once

#include "foundation/PropertyList.h"

#include <string_view>

namespace Prefs {

// A store of property-list objects under text keys: what the iCloud synchronisation reads and
// writes on the remote side. Implementations are safe on any thread.
class PrefsKeyValueStore {
public:
    virtual ~PrefsKeyValueStore() = default;

    // Absent when the store holds nothing under the key.
    virtual foundation::PropertyList objectForKey(std::string_view key) const = 0;
    // An absent object removes the entry.
    virtual void set(const foundation::PropertyList& object, std::string_view key) = 0;
    virtual void removeObjectForKey(std::string_view key) = 0;
    // Asks the store to write out and exchange pending changes. Callers don't rely on the answer.
    virtual bool synchronize() = 0;
};

} // namespace Prefs
