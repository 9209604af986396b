#pragma once

#include "Prefs/BaseChange.h"
#include "Prefs/ObservationOption.h"
#include "Prefs/SuiteKeyPair.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/Object.h"
#include "foundation/UserDefaults.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace Prefs {

class Lock;

// One registration of one key name in one suite. Held by std::shared_ptr (the suite holds it
// weakly). Created not observing; beginObserving() registers it; stopObserving(), destruction, or
// a notification after the suite is gone invalidates it for good: a later beginObserving() only
// marks it observing and registers nothing.
//
// The callback runs on the thread that wrote the value, with no lock of this class held, so it
// may stop or release its own observation. It is never called once the observation has stopped,
// nor for writes the writing thread makes inside withoutPropagation().
class PrefsObservation final : public foundation::KeyValueObserver {
public:
    using Callback = std::function<void(const SuiteKeyPair& key, const BaseChange& change)>;

    PrefsObservation(const std::shared_ptr<foundation::UserDefaults>& suite, std::string name,
                     Callback callback);
    ~PrefsObservation() override;

    // With `initial`, the callback gets the current value (no old value) before this returns,
    // after the registration is in place; a write racing the registration may come first.
    void beginObserving(ObservationOptions options = {});
    // Calling it again does nothing more.
    void stopObserving();

    bool isObserving() const;
    const std::string& name() const { return name_; }
    // The suite and name it was made for; the suite reference outlives stopping.
    const SuiteKeyPair& suiteKeyPair() const { return pair_; }
    std::shared_ptr<foundation::UserDefaults> suite() const;

    void observeValue(std::string_view keyPath, foundation::Object* object,
                      const foundation::KeyValueChange& change, void* context) override;

private:
    void deliver(foundation::Object* object, const foundation::KeyValueChange& change);

    const std::shared_ptr<Lock> lock_;
    std::weak_ptr<foundation::UserDefaults> suite_; // guarded by lock_
    const std::string name_;
    const Callback callback_;
    const SuiteKeyPair pair_;
    bool isObserving_ = false; // guarded by lock_
};

} // namespace Prefs
