#pragma once

#include "Prefs/PrefsKeyValueStore.h"

#include "foundation/UserDefaults.h"

#include <memory>
#include <string_view>

namespace Prefs {

// A user-defaults suite seen as a key-value store: each operation is the suite's own.
class UserDefaultsKeyValueStore final : public PrefsKeyValueStore {
public:
    explicit UserDefaultsKeyValueStore(std::shared_ptr<foundation::UserDefaults> suite);

    const std::shared_ptr<foundation::UserDefaults>& suite() const { return suite_; }

    foundation::PropertyList objectForKey(std::string_view key) const override;
    void set(const foundation::PropertyList& object, std::string_view key) override;
    void removeObjectForKey(std::string_view key) override;
    bool synchronize() override;

private:
    const std::shared_ptr<foundation::UserDefaults> suite_;
};

} // namespace Prefs
