#include "ParallelRows.h"

#include <foundation/WorkerPool.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace ui::detail {

namespace {

// The machine is shared, so painting takes a few cores at most, and its own threads: the
// process's worker pool may be busy with long tasks.
constexpr int maximumThreads = 4;
constexpr long long minimumWork = 20000;
constexpr int rowsPerBlock = 8;

// Never destroyed, as the shared pool is not: a frame painted while the program exits may
// still hand rows to it.
foundation::WorkerPool& helpers() {
    static auto* pool = new foundation::WorkerPool(std::size_t(parallelRowThreads() - 1));
    return *pool;
}

struct Job {
    std::function<void(int, int)> body;
    int rows = 0;
    int blocks = 0;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;
    std::condition_variable finished;
    int done = 0; // blocks taken that have ended, under `mutex`
    std::exception_ptr error;

    // Takes blocks until none is left; a helper that starts after the caller is gone finds none.
    void work() {
        for (;;) {
            const int block = next.fetch_add(1);
            if (block >= blocks) return;
            if (!failed.load()) {
                try {
                    const int begin = block * rowsPerBlock;
                    body(begin, std::min(rows, begin + rowsPerBlock));
                } catch (...) {
                    std::lock_guard lock(mutex);
                    if (!error) error = std::current_exception();
                    failed = true;
                }
            }
            std::lock_guard lock(mutex);
            if (++done == blocks) finished.notify_all();
        }
    }
};

} // namespace

int parallelRowThreads() {
    static const int count = std::clamp(int(std::thread::hardware_concurrency()), 1, maximumThreads);
    return count;
}

void parallelRows(int rows, long long workPerRow, const std::function<void(int begin, int end)>& body) {
    if (rows <= 0) return;
    const int threads = parallelRowThreads();
    if (threads == 1 || rows < 2 * rowsPerBlock || rows * std::max(1LL, workPerRow) < minimumWork) {
        body(0, rows);
        return;
    }
    auto job = std::make_shared<Job>();
    job->body = body;
    job->rows = rows;
    job->blocks = (rows + rowsPerBlock - 1) / rowsPerBlock;
    const int helping = std::min(threads - 1, job->blocks - 1);
    for (int i = 0; i < helping; ++i)
        helpers().submit([job] { job->work(); });
    job->work();
    std::unique_lock lock(job->mutex);
    job->finished.wait(lock, [&] { return job->done == job->blocks; });
    if (job->error) std::rethrow_exception(job->error);
}

} // namespace ui::detail
