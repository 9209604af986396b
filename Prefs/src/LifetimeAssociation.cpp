#include "LifetimeAssociation.h"

#include "ObjectAssociation.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace Prefs {

// Hung on the owner; runs its handler as it goes, then releases the tied object.
class ObjectLifetimeTracker {
public:
    ObjectLifetimeTracker(std::shared_ptr<void> object, std::function<void()> deinitHandler)
        : object_(std::move(object))
        , deinitHandler_(std::move(deinitHandler)) {}
    ~ObjectLifetimeTracker() {
        std::function<void()> handler;
        {
            std::lock_guard guard(mutex_);
            handler.swap(deinitHandler_);
        }
        if (handler) handler();
        // object_ is released after this body, so the handler still finds it alive.
    }
    ObjectLifetimeTracker(const ObjectLifetimeTracker&) = delete;
    ObjectLifetimeTracker& operator=(const ObjectLifetimeTracker&) = delete;

    void silence() {
        std::function<void()> handler;
        std::lock_guard guard(mutex_);
        handler.swap(deinitHandler_); // released after the lock: it may hold anything
    }

private:
    const std::shared_ptr<void> object_;
    std::mutex mutex_;
    std::function<void()> deinitHandler_;
};

namespace {

using Trackers = const std::vector<std::shared_ptr<ObjectLifetimeTracker>>;

// The trackers tied to each owner. Arrays are replaced, never changed in place, so a tracker
// that leaves is destroyed after the owner's table is let go.
const ObjectAssociation<Trackers>& trackersOfOwners() {
    static const auto* association = new ObjectAssociation<Trackers>();
    return *association;
}

} // namespace

LifetimeAssociation::LifetimeAssociation(std::shared_ptr<void> object,
                                         const std::shared_ptr<foundation::Object>& owner,
                                         std::function<void()> deinitHandler) {
    auto tracker = std::make_shared<ObjectLifetimeTracker>(std::move(object), std::move(deinitHandler));
    trackersOfOwners().modify(*owner, [&tracker](std::shared_ptr<Trackers> current) {
        auto next = current ? std::make_shared<std::vector<std::shared_ptr<ObjectLifetimeTracker>>>(*current)
                            : std::make_shared<std::vector<std::shared_ptr<ObjectLifetimeTracker>>>();
        next->push_back(tracker);
        return std::shared_ptr<Trackers>(std::move(next));
    });
    wrappedObject_ = tracker;
    owner_ = owner;
}

LifetimeAssociation::~LifetimeAssociation() {
    detach();
}

void LifetimeAssociation::cancel() {
    std::shared_ptr<ObjectLifetimeTracker> tracker;
    {
        std::lock_guard guard(mutex_);
        tracker = wrappedObject_.lock();
    }
    if (tracker) tracker->silence();
    tracker.reset();
    detach();
}

void LifetimeAssociation::detach() {
    std::shared_ptr<foundation::Object> owner;
    std::shared_ptr<ObjectLifetimeTracker> tracker;
    {
        std::lock_guard guard(mutex_);
        owner = owner_.lock();
        tracker = wrappedObject_.lock();
    }
    if (!owner || !tracker) return;
    bool removed = false;
    trackersOfOwners().modify(*owner, [&](std::shared_ptr<Trackers> current) {
        if (!current || std::find(current->begin(), current->end(), tracker) == current->end())
            return current;
        removed = true;
        auto next = std::make_shared<std::vector<std::shared_ptr<ObjectLifetimeTracker>>>();
        for (const auto& each : *current)
            if (each != tracker) next->push_back(each);
        return next->empty() ? std::shared_ptr<Trackers>() : std::shared_ptr<Trackers>(std::move(next));
    });
    if (removed) {
        std::lock_guard guard(mutex_);
        owner_.reset();
    }
    // The last reference to the tracker may go here, outside every lock.
}

} // namespace Prefs
