#include "foundation/WorkerPool.h"

#include <algorithm>

namespace foundation {

namespace {
thread_local bool onWorker = false;
}

WorkerPool& WorkerPool::shared() {
    // Never destroyed: jobs may still be submitted while the process exits.
    static WorkerPool* pool = new WorkerPool(std::max(4u, std::thread::hardware_concurrency()));
    return *pool;
}

WorkerPool::WorkerPool(std::size_t threads) {
    threads_.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i)
        threads_.emplace_back([this] { work(); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    available_.notify_all();
    for (auto& t : threads_)
        t.join();
}

bool WorkerPool::isWorkerThread() {
    return onWorker;
}

void WorkerPool::submit(Job job, TaskPriority priority) {
    {
        std::lock_guard lock(mutex_);
        jobs_.emplace(std::pair{-static_cast<int>(priority.rawValue), sequence_++}, std::move(job));
    }
    available_.notify_one();
}

void WorkerPool::work() {
    onWorker = true;
    for (;;) {
        Job job;
        {
            std::unique_lock lock(mutex_);
            available_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return; // stopping, and nothing left
            auto it = jobs_.begin();
            job = std::move(it->second);
            jobs_.erase(it);
        }
        job();
    }
}

} // namespace foundation
