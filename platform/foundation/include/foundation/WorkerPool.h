#pragma once

#include "foundation/TaskPriority.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace foundation {

// The process's pool of worker threads behind concurrent queues and detached tasks. Jobs run
// by priority, then in submission order.
class WorkerPool {
public:
    using Job = std::function<void()>;

    static WorkerPool& shared();

    void submit(Job job, TaskPriority priority = TaskPriority::medium());
    std::size_t threadCount() const { return threads_.size(); }
    // True on one of the pool's threads.
    static bool isWorkerThread();

    explicit WorkerPool(std::size_t threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

private:
    void work();

    std::mutex mutex_;
    std::condition_variable available_;
    // Key: (negated priority, sequence) so the map's front is the next job.
    std::map<std::pair<int, std::uint64_t>, Job> jobs_;
    std::uint64_t sequence_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace foundation
