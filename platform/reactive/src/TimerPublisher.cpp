#include "reactive/TimerPublisher.h"

#include "reactive/PassthroughSubject.h"

#include "foundation/Timer.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace reactive {

using foundation::Date;
using foundation::TimeInterval;

namespace {

// One connection: its own repeating timer, which stops when the connection is cancelled or
// its last holder lets go. It keeps the publisher alive; the timer refers to it weakly.
struct Connection {
    std::shared_ptr<TimerPublisher::Impl> impl;
    std::shared_ptr<foundation::Timer> timer;
    ~Connection() { timer->invalidate(); }
};

} // namespace

struct TimerPublisher::Impl : std::enable_shared_from_this<TimerPublisher::Impl> {
    TimeInterval interval = 0;
    RunLoopMode mode = RunLoopMode::common;
    std::optional<TimeInterval> tolerance;
    PassthroughSubject<Date> subject;
    std::mutex mutex;
    std::weak_ptr<Connection> connection;

    AnyCancellable connect() {
        std::shared_ptr<Connection> current;
        {
            std::lock_guard lock(mutex);
            current = connection.lock();
            if (!current || !current->timer->isValid()) {
                current = std::make_shared<Connection>();
                current->impl = shared_from_this();
                current->timer = foundation::Timer::scheduledTimer(
                    interval, true, [weak = weak_from_this()](foundation::Timer&) {
                        if (auto self = weak.lock()) self->subject.send(Date::now());
                    });
                if (tolerance) current->timer->setTolerance(*tolerance);
                connection = current;
            }
        }
        return AnyCancellable([current] { current->timer->invalidate(); });
    }
};

namespace {

// Counts the subscribers of an autoconnecting publisher; the first connects, the last one
// out disconnects.
struct Autoconnect {
    explicit Autoconnect(TimerPublisher publisher)
        : upstream(std::move(publisher)) {}

    TimerPublisher upstream;
    std::mutex mutex;
    std::size_t subscribers = 0;
    AnyCancellable connection;

    void retain() {
        std::lock_guard lock(mutex);
        if (subscribers++ == 0) connection = upstream.connect();
    }
    void release() {
        AnyCancellable ended;
        {
            std::lock_guard lock(mutex);
            if (--subscribers > 0) return;
            ended = std::exchange(connection, AnyCancellable());
        }
        ended.cancel();
    }
};

class AutoconnectNode final : public Subscriber<Date>,
                              public Subscription,
                              public std::enable_shared_from_this<AutoconnectNode> {
public:
    AutoconnectNode(SubscriberPtr<Date> downstream, std::shared_ptr<Autoconnect> state)
        : downstream_(std::move(downstream))
        , state_(std::move(state)) {}

    void receiveSubscription(std::shared_ptr<Subscription> subscription) override {
        {
            std::lock_guard lock(mutex_);
            upstream_ = std::move(subscription);
        }
        state_->retain();
        downstream_->receiveSubscription(shared_from_this());
    }
    Subscribers::Demand receive(const Date& date) override {
        if (!ended_.load(std::memory_order_acquire)) downstream_->receive(date);
        return Subscribers::Demand::none();
    }
    void receiveCompletion(const Subscribers::Completion<Never>& completion) override {
        if (end()) downstream_->receiveCompletion(completion);
    }

    void request(Subscribers::Demand) override {}
    void cancel() override { end(); }

private:
    bool end() {
        if (ended_.exchange(true)) return false;
        std::shared_ptr<Subscription> upstream;
        {
            std::lock_guard lock(mutex_);
            upstream = std::move(upstream_);
        }
        if (upstream) upstream->cancel();
        state_->release();
        return true;
    }

    const SubscriberPtr<Date> downstream_;
    const std::shared_ptr<Autoconnect> state_;
    std::atomic<bool> ended_{false};
    std::mutex mutex_;
    std::shared_ptr<Subscription> upstream_;
};

} // namespace

TimerPublisher TimerPublisher::publish(TimeInterval interval, foundation::RunLoop& runLoop, RunLoopMode mode,
                                       std::optional<TimeInterval> tolerance) {
    return TimerPublisher(interval, runLoop, mode, tolerance);
}

TimerPublisher::TimerPublisher(TimeInterval interval, foundation::RunLoop&, RunLoopMode mode,
                               std::optional<TimeInterval> tolerance)
    : impl_(std::make_shared<Impl>()) {
    impl_->interval = interval;
    impl_->mode = mode;
    impl_->tolerance = tolerance;
}

TimeInterval TimerPublisher::interval() const {
    return impl_->interval;
}

std::optional<TimeInterval> TimerPublisher::tolerance() const {
    return impl_->tolerance;
}

RunLoopMode TimerPublisher::mode() const {
    return impl_->mode;
}

void TimerPublisher::receive(const SubscriberPtr<Date>& subscriber) const {
    impl_->subject.receive(subscriber);
}

AnyCancellable TimerPublisher::connect() const {
    return impl_->connect();
}

AnyPublisher<Date> TimerPublisher::autoconnect() const {
    auto state = std::make_shared<Autoconnect>(*this);
    return AnyPublisher<Date>([state](const SubscriberPtr<Date>& downstream) {
        state->upstream.receive(std::make_shared<AutoconnectNode>(downstream, state));
    });
}

} // namespace reactive
