#pragma once

#include "foundation/Object.h"

#include <functional>
#include <memory>
#include <mutex>

namespace Prefs {

class ObjectLifetimeTracker;

// Ties an object to an owner's lifetime: the owner's associated table holds a tracker, and the
// tracker holds the object. When the owner goes, the tracker runs its handler and then releases
// the object. Holds owner and tracker weakly.
class LifetimeAssociation {
public:
    LifetimeAssociation(std::shared_ptr<void> object, const std::shared_ptr<foundation::Object>& owner,
                        std::function<void()> deinitHandler);
    // Detaches without silencing the handler.
    ~LifetimeAssociation();
    LifetimeAssociation(const LifetimeAssociation&) = delete;
    LifetimeAssociation& operator=(const LifetimeAssociation&) = delete;

    // Silences the handler and takes the tracker off the owner, which releases the object.
    void cancel();

private:
    void detach();

    std::mutex mutex_;
    std::weak_ptr<ObjectLifetimeTracker> wrappedObject_; // guarded by mutex_
    std::weak_ptr<foundation::Object> owner_;            // guarded by mutex_
};

} // namespace Prefs
