// TaskQueue::enqueue (one lock hold and one buffered append) against a mutex-guarded deque of
// std::function with a consumer thread, each measured on the enqueuing thread.
#include "RatioReporter.h"

#include "TaskQueue.h"

#include "foundation/Task.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace {

void BM_TaskQueueEnqueue(benchmark::State& state) {
    auto queue = std::make_shared<Prefs::TaskQueue>();
    for (auto _ : state)
        queue->enqueue([]() -> foundation::Task<void> { co_return; });
    state.SetItemsProcessed(state.iterations());
    // Buffered operations still run after the queue goes; nothing here waits for them.
}

void BM_BaselineMutexDequeEnqueue(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable available;
    std::deque<std::function<void()>> queue;
    bool done = false;
    std::thread consumer([&] {
        std::unique_lock lock(mutex);
        for (;;) {
            available.wait(lock, [&] { return done || !queue.empty(); });
            if (queue.empty()) return;
            auto job = std::move(queue.front());
            queue.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    });
    for (auto _ : state) {
        {
            std::lock_guard lock(mutex);
            queue.push_back([] {});
        }
        available.notify_one();
    }
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    available.notify_one();
    consumer.join();
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_TaskQueueEnqueue);
BENCHMARK(BM_BaselineMutexDequeEnqueue);

int main(int argc, char** argv) {
    return runWithRatios(argc, argv, {{"BM_TaskQueueEnqueue", "BM_BaselineMutexDequeEnqueue"}});
}
