#include "foundation/NotificationCenter.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <vector>

namespace foundation {

class NotificationObserver {
public:
    NotificationObserver(std::weak_ptr<NotificationCenter::State> center, std::uint64_t id,
                         std::optional<DispatchQueue> queue, NotificationCenter::Block block)
        : center(std::move(center))
        , id(id)
        , queue(std::move(queue))
        , block(std::move(block)) {}
    ~NotificationObserver();

    // Called on the posting thread, or from the queue. The removed flag is read at the last
    // moment so that a removal on another thread stops calls not yet started.
    void deliver(const Notification& notification) {
        if (!block || removed.load(std::memory_order_acquire)) return;
        block(notification);
    }

    std::weak_ptr<NotificationCenter::State> center;
    std::uint64_t id;
    std::optional<DispatchQueue> queue;
    NotificationCenter::Block block;
    std::atomic<bool> removed{false};
};

struct NotificationCenter::State {
    struct Entry {
        NotificationName name;
        const void* object = nullptr;
        std::weak_ptr<const void> objectRef;
        std::weak_ptr<NotificationObserver> observer;

        bool matches(const Notification& n) const {
            if (!name.empty() && name != n.name) return false;
            if (!object) return true;
            // An object filter whose object is gone matches nothing, not a newcomer at its address.
            return object == n.object.get() && !objectRef.expired();
        }
    };

    std::mutex mutex;
    std::map<std::uint64_t, Entry> entries; // ids grow, so this is registration order
    std::uint64_t nextId = 1;

    void erase(std::uint64_t id) {
        std::lock_guard lock(mutex);
        entries.erase(id);
    }
};

NotificationObserver::~NotificationObserver() {
    if (auto state = center.lock()) state->erase(id);
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter* center =
        new NotificationCenter(); // never destroyed: posts may come during exit
    return *center;
}

NotificationCenter::NotificationCenter()
    : state_(std::make_shared<State>()) {}

NotificationCenter::~NotificationCenter() {
    std::vector<std::shared_ptr<NotificationObserver>> observers;
    {
        std::lock_guard lock(state_->mutex);
        for (auto& [id, entry] : state_->entries) {
            if (auto observer = entry.observer.lock()) observers.push_back(std::move(observer));
        }
        state_->entries.clear();
    }
    // Deliveries still waiting on queues must not run once their centre is gone.
    for (auto& observer : observers)
        observer->removed.store(true, std::memory_order_release);
}

NotificationObserverToken NotificationCenter::addObserver(NotificationName name,
                                                          std::shared_ptr<const void> object,
                                                          std::optional<DispatchQueue> queue, Block block) {
    std::lock_guard lock(state_->mutex);
    const std::uint64_t id = state_->nextId++;
    auto observer = std::make_shared<NotificationObserver>(state_, id, std::move(queue), std::move(block));
    state_->entries.emplace(id, State::Entry{std::move(name), object.get(), object, observer});
    return observer;
}

void NotificationCenter::removeObserver(const NotificationObserverToken& token) {
    if (!token || token->center.lock() != state_) return;
    token->removed.store(true, std::memory_order_release);
    state_->erase(token->id);
}

void NotificationCenter::post(const Notification& notification) {
    // Deliver from a snapshot without holding the lock, so observers may post, add and remove.
    // The snapshot holds observers weakly: one whose last token is released meanwhile is skipped.
    std::vector<std::weak_ptr<NotificationObserver>> matching;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& [id, entry] : state_->entries) {
            if (entry.matches(notification)) matching.push_back(entry.observer);
        }
    }
    for (const auto& weak : matching) {
        auto observer = weak.lock();
        if (!observer) continue;
        if (!observer->queue) {
            observer->deliver(notification);
            continue;
        }
        observer->queue->async([weak, notification] {
            if (auto observer = weak.lock()) observer->deliver(notification);
        });
    }
}

} // namespace foundation
