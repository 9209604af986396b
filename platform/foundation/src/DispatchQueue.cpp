#include "foundation/DispatchQueue.h"

#include "foundation/Clock.h"
#include "foundation/MainThread.h"
#include "foundation/RunLoop.h"
#include "foundation/WorkerPool.h"

#include <deque>
#include <future>
#include <mutex>

namespace foundation {

DispatchTime DispatchTime::now() {
    return {Clock::current()->uptime()};
}

struct DispatchQueue::Impl : std::enable_shared_from_this<DispatchQueue::Impl> {
    std::string label;
    Attributes attributes = Attributes::serial;
    TaskPriority priority;
    bool main = false;

    std::mutex mutex;
    std::deque<Work> pending; // serial queues only
    bool draining = false;

    void async(Work work) {
        if (main) {
            RunLoop::main().perform(std::move(work));
            return;
        }
        if (attributes == Attributes::concurrent) {
            WorkerPool::shared().submit(std::move(work), priority);
            return;
        }
        bool start = false;
        {
            std::lock_guard lock(mutex);
            pending.push_back(std::move(work));
            if (!draining) draining = start = true;
        }
        if (start) scheduleDrain();
    }

    // A serial queue runs one job at a time on the pool, in order.
    void scheduleDrain() {
        WorkerPool::shared().submit([self = shared_from_this()] { self->drainOne(); }, priority);
    }

    void drainOne() {
        Work work;
        {
            std::lock_guard lock(mutex);
            work = std::move(pending.front());
            pending.pop_front();
        }
        work();
        bool more;
        {
            std::lock_guard lock(mutex);
            more = !pending.empty();
            if (!more) draining = false;
        }
        if (more) scheduleDrain();
    }
};

DispatchQueue DispatchQueue::main() {
    static const auto impl = [] {
        auto i = std::make_shared<Impl>();
        i->label = "main";
        i->main = true;
        return i;
    }();
    return DispatchQueue(impl);
}

DispatchQueue DispatchQueue::global(TaskPriority priority) {
    return DispatchQueue("global", Attributes::concurrent, priority);
}

DispatchQueue::DispatchQueue(std::string label, Attributes attributes, TaskPriority priority)
    : impl_(std::make_shared<Impl>()) {
    impl_->label = std::move(label);
    impl_->attributes = attributes;
    impl_->priority = priority;
}

void DispatchQueue::async(Work work) const {
    impl_->async(std::move(work));
}

void DispatchQueue::asyncAfter(DispatchTime deadline, Work work, TimeInterval) const {
    if (impl_->main) {
        RunLoop::main().schedule(deadline.uptime, std::move(work));
        return;
    }
    RunLoop::main().schedule(
        deadline.uptime, [impl = impl_, work = std::move(work)]() mutable { impl->async(std::move(work)); });
}

void DispatchQueue::sync(Work work) const {
    if (impl_->main && isMainThread()) {
        work();
        return;
    }
    std::promise<void> done;
    auto future = done.get_future();
    impl_->async([&] {
        work();
        done.set_value();
    });
    future.wait();
}

const std::string& DispatchQueue::label() const {
    return impl_->label;
}

bool DispatchQueue::isMain() const {
    return impl_->main;
}

} // namespace foundation
