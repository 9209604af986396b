// An element's way from a producer thread to a task waiting on an AsyncStream on the worker
// pool, against a mutex and condition-variable queue feeding a consumer thread.
#include "RatioReporter.h"

#include "foundation/AsyncStream.h"
#include "foundation/Task.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

constexpr int batch = 1000;

void waitFor(const std::atomic<long>& counter, long target) {
    while (counter.load(std::memory_order_acquire) < target)
        std::this_thread::yield();
}

void BM_AsyncStreamToWorkerTask(benchmark::State& state) {
    auto [stream, continuation] = foundation::AsyncStream<int>::makeStream();
    auto consumed = std::make_shared<std::atomic<long>>(0);
    auto consumer = foundation::Task<>::detached(foundation::TaskPriority::high(),
                                                 [s = std::move(stream), consumed]() -> foundation::Task<> {
                                                     while (co_await s.next())
                                                         consumed->fetch_add(1, std::memory_order_release);
                                                 });
    long sent = 0;
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i)
            continuation.yield(i);
        sent += batch;
        waitFor(*consumed, sent);
    }
    continuation.finish();
    state.SetItemsProcessed(sent);
}

void BM_BaselineCondvarQueueToThread(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable available;
    std::deque<int> queue;
    bool done = false;
    std::atomic<long> consumed{0};
    std::thread consumer([&] {
        std::unique_lock lock(mutex);
        for (;;) {
            available.wait(lock, [&] { return done || !queue.empty(); });
            if (queue.empty()) return;
            queue.pop_front();
            consumed.fetch_add(1, std::memory_order_release);
        }
    });
    long sent = 0;
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) {
            {
                std::lock_guard lock(mutex);
                queue.push_back(i);
            }
            available.notify_one();
        }
        sent += batch;
        waitFor(consumed, sent);
    }
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    available.notify_one();
    consumer.join();
    state.SetItemsProcessed(sent);
}

} // namespace

BENCHMARK(BM_AsyncStreamToWorkerTask)->UseRealTime();
BENCHMARK(BM_BaselineCondvarQueueToThread)->UseRealTime();

int main(int argc, char** argv) {
    return runWithRatios(
        argc, argv, {{"BM_AsyncStreamToWorkerTask/real_time", "BM_BaselineCondvarQueueToThread/real_time"}});
}
