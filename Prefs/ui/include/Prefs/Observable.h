#pragma once

#include "Prefs/Key.h"
#include "Prefs/Serializable.h"
#include "Prefs/Updates.h"
#include "Prefs/ValueAccess.h"

#include "foundation/AsyncStream.h"
#include "foundation/Fatal.h"
#include "foundation/Task.h"
#include "foundation/TaskPriority.h"

#include "reactive/ObservableObject.h"

#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace Prefs {

namespace detail {

// What the observation task reaches its observable through: the task holds it weakly, and the
// observable clears it before it goes, so an announcement never races the destruction.
class ObservableAnnouncer {
public:
    explicit ObservableAnnouncer(const reactive::ObservableObject* object)
        : object_(object) {}

    // Sends objectWillChange; false once the object is gone.
    bool announce() {
        std::lock_guard lock(mutex_);
        if (!object_) return false;
        object_->objectWillChange().send();
        return true;
    }
    void detach() {
        std::lock_guard lock(mutex_);
        object_ = nullptr;
    }

private:
    std::mutex mutex_;
    const reactive::ObservableObject* object_;
};

} // namespace detail

// Watches one key and announces each change of its stored object through objectWillChange, on
// the main actor, once per change and in order. Nothing is cached: `value` reads and writes the
// key's suite every time.
//
// The key's update sequence is created (and so the key observed) right here, when the
// observation starts; the task that consumes it runs later on the main actor. A write that
// lands in between is buffered by the sequence and still announced.
template <Serializable Value> class Observable : public reactive::ObservableObject {
public:
    explicit Observable(std::shared_ptr<Key<Value>> key)
        : key_(std::move(key)) {
        if (!key_) foundation::fatal("Prefs.Observable: no key");
        startObservation();
    }

    ~Observable() override {
        announcer_->detach();
        if (task_) task_->cancel();
    }

    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    const std::shared_ptr<Key<Value>>& key() const { return key_; }
    // Restarts the observation when the new key has another name or another suite; an equal
    // key keeps the running task.
    void setKey(std::shared_ptr<Key<Value>> key) {
        if (!key) foundation::fatal("Prefs.Observable: no key");
        const std::shared_ptr<Key<Value>> old = std::exchange(key_, std::move(key));
        if (old->name() != key_->name()) {
            startObservation();
        } else if (old->suite() != key_->suite()) {
            startObservation();
        }
    }

    Value value() const { return Prefs::get(key_); }
    void setValue(const Value& value) const { Prefs::set(key_, value); }

    // The running observation task, if any.
    const std::optional<foundation::Task<>>& task() const { return task_; }

    void startObservation() {
        if (task_) task_->cancel();
        auto updates = Prefs::updates(key_, false);
        task_ = foundation::Task<>::detached(
            foundation::TaskPriority::userInitiated(), foundation::onMainActor,
            [announcer = std::weak_ptr<detail::ObservableAnnouncer>(announcer_), key = key_,
             updates = std::move(updates)]() mutable -> foundation::Task<> {
                // The element itself is not used: the view reads the suite afresh.
                while (co_await updates.next()) {
                    const auto target = announcer.lock();
                    if (!target || !target->announce()) co_return;
                }
            });
    }

private:
    std::optional<foundation::Task<>> task_;
    std::shared_ptr<Key<Value>> key_;
    const std::shared_ptr<detail::ObservableAnnouncer> announcer_ =
        std::make_shared<detail::ObservableAnnouncer>(this);
};

} // namespace Prefs
