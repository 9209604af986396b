#include "ui/Clock.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "ui/Transaction.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {

struct FrameSubscription::Callbacks {
    struct Entry {
        std::uint64_t id;
        std::shared_ptr<Clock::FrameCallback> callback;
    };
    std::vector<Entry> entries;
    std::uint64_t nextID = 1;
    Clock* clock = nullptr;
    // Whether something listened at every frame since the last one.
    bool continuous = false;

    void remove(std::uint64_t id);
};

FrameSubscription::FrameSubscription(FrameSubscription&& other) noexcept
    : callbacks_(std::move(other.callbacks_))
    , id_(std::exchange(other.id_, 0)) {}

FrameSubscription& FrameSubscription::operator=(FrameSubscription&& other) noexcept {
    if (this != &other) {
        cancel();
        callbacks_ = std::move(other.callbacks_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void FrameSubscription::cancel() {
    auto callbacks = callbacks_.lock();
    callbacks_.reset();
    if (callbacks && id_ != 0) callbacks->remove(id_);
    id_ = 0;
}

bool FrameSubscription::isActive() const {
    auto callbacks = callbacks_.lock();
    if (!callbacks || id_ == 0) return false;
    return std::any_of(callbacks->entries.begin(), callbacks->entries.end(),
                       [&](const auto& entry) { return entry.id == id_; });
}

void FrameSubscription::Callbacks::remove(std::uint64_t id) {
    auto it =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) { return entry.id == id; });
    if (it == entries.end()) return;
    // Released only once the list is whole again: what the callback holds may cancel other
    // subscriptions as it goes.
    auto released = std::move(it->callback);
    entries.erase(it);
    if (entries.empty()) {
        continuous = false;
        if (clock) clock->runningChanged(false);
    }
    released.reset();
}

Clock::Clock()
    : callbacks_(std::make_shared<FrameSubscription::Callbacks>()) {
    callbacks_->clock = this;
}

Clock::~Clock() {
    callbacks_->clock = nullptr;
}

FrameSubscription Clock::onFrame(FrameCallback callback) {
    const auto id = callbacks_->nextID++;
    const bool first = callbacks_->entries.empty();
    callbacks_->entries.push_back({id, std::make_shared<FrameCallback>(std::move(callback))});
    if (first) runningChanged(true);
    return FrameSubscription(callbacks_, id);
}

bool Clock::hasSubscribers() const {
    return !callbacks_->entries.empty();
}

double Clock::now() const {
    return foundation::Clock::current()->uptime();
}

foundation::Date Clock::date() const {
    return foundation::Clock::current()->now();
}

void Clock::deliverFrame() {
    Frame frame;
    frame.time = now();
    frame.date = date();
    frame.interval =
        callbacks_->continuous && lastFrame_ ? std::max(0.0, frame.time - lastFrame_->time) : frameInterval();
    lastFrame_ = frame;
    if (callbacks_->entries.empty()) return;
    // The callbacks of this frame are those subscribed now; each is looked up again before it
    // runs, so one cancelled by an earlier callback does not run.
    std::vector<std::uint64_t> ids;
    ids.reserve(callbacks_->entries.size());
    for (const auto& entry : callbacks_->entries)
        ids.push_back(entry.id);
    // The state of the callbacks may outlive this clock if a callback destroys it.
    auto callbacks = callbacks_;
    withTransaction(Transaction(), [&] {
        for (auto id : ids) {
            if (!callbacks->clock) break; // a callback destroyed the clock
            auto it = std::find_if(callbacks->entries.begin(), callbacks->entries.end(),
                                   [&](const auto& entry) { return entry.id == id; });
            if (it == callbacks->entries.end()) continue;
            auto callback = it->callback; // kept while it runs, even if it cancels itself
            (*callback)(frame);
        }
    });
    callbacks->continuous = !callbacks->entries.empty();
}

void ManualClock::advance(double seconds) {
    foundation::RunLoop::main().advance(seconds);
    deliverFrame();
}

} // namespace ui
