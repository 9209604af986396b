#pragma once

#include "foundation/AsyncStream.h"
#include "foundation/DispatchQueue.h"
#include "foundation/Notification.h"

#include <functional>
#include <memory>
#include <optional>

namespace foundation {

// One registration made by NotificationCenter::addObserver; opaque to callers.
class NotificationObserver;
// The observation lasts until removeObserver(token), until the last copy of the token is
// released, or until the centre goes, whichever comes first.
using NotificationObserverToken = std::shared_ptr<NotificationObserver>;

// Delivers posted notifications to the observers whose name and object filters match.
// Safe from any thread. Without a queue an observer is called synchronously on the posting
// thread; with one, through queue.async. Observers are called in registration order.
//
// The reactive layer's publisher and the asynchronous notification sequence are built on
// addObserver/removeObserver alone: a subscription keeps the token and removes it when it ends.
class NotificationCenter {
public:
    using Block = std::function<void(const Notification&)>;

    // The process's centre; never destroyed.
    static NotificationCenter& defaultCenter();

    NotificationCenter();
    ~NotificationCenter();
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    // An empty name matches every name; a null object matches every object (the filter holds
    // the object weakly and matches by identity).
    [[nodiscard]] NotificationObserverToken addObserver(NotificationName name,
                                                        std::shared_ptr<const void> object,
                                                        std::optional<DispatchQueue> queue, Block block);
    [[nodiscard]] NotificationObserverToken addObserver(NotificationName name, Block block) {
        return addObserver(std::move(name), nullptr, std::nullopt, std::move(block));
    }

    // After this returns the block is not started again, neither by a post in progress nor by
    // a delivery waiting on its queue; a call already running on another thread may finish.
    // Harmless for a token that was removed already or belongs to another centre.
    void removeObserver(const NotificationObserverToken& token);

    // Observers added while a post is delivering are not called for that post.
    void post(const Notification& notification);
    void post(NotificationName name, std::shared_ptr<const void> object = nullptr, UserInfo userInfo = {}) {
        post(Notification{std::move(name), std::move(object), std::move(userInfo)});
    }

    // The matching notifications as an asynchronous sequence, buffered without bound. The
    // observation ends when the consumer cancels or drops the stream.
    AsyncStream<Notification> notifications(NotificationName name,
                                            std::shared_ptr<const void> object = nullptr);

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace foundation
