#include "foundation/RunLoop.h"

#include "foundation/Clock.h"
#include "foundation/Fatal.h"
#include "foundation/MainThread.h"

#include <chrono>
#include <cmath>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace foundation {

bool isMainThread() {
    // On Linux the initial thread's id is the process id.
    static thread_local const bool isMain = static_cast<pid_t>(syscall(SYS_gettid)) == getpid();
    return isMain;
}

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop(); // never destroyed: work may be posted during exit
    return *loop;
}

RunLoop::Token RunLoop::insert(double deadline, Work work) {
    Token token;
    {
        std::lock_guard lock(mutex_);
        token = nextToken_++;
        if (std::isnan(deadline) || deadline == INFINITY) return token; // never runs
        Key key{deadline, token};
        items_.emplace(key, std::move(work));
        index_.emplace(token, key);
    }
    notify();
    return token;
}

namespace {
// The driver whose wake() this thread is in, so that wake() may uninstall its own driver.
thread_local RunLoopDriver* wakingDriver = nullptr;
} // namespace

void RunLoop::notify() {
    changed_.notify_all();
    RunLoopDriver* driver;
    std::optional<double> next;
    {
        std::lock_guard lock(mutex_);
        driver = driver_;
        if (!driver) return;
        // Counted, so that setDriver() can wait for the wake before the driver may go.
        ++wakesInFlight_[driver];
        if (!items_.empty()) next = items_.begin()->first.first;
    }
    struct Done {
        RunLoop& loop;
        RunLoopDriver* driver;
        RunLoopDriver* outer;
        ~Done() {
            wakingDriver = outer;
            {
                std::lock_guard lock(loop.mutex_);
                auto it = loop.wakesInFlight_.find(driver);
                if (--it->second == 0) loop.wakesInFlight_.erase(it);
            }
            loop.wakeDone_.notify_all();
        }
    } done{*this, driver, std::exchange(wakingDriver, driver)};
    driver->wake(next);
}

RunLoop::Token RunLoop::perform(Work work) {
    return insert(Clock::current()->uptime(), std::move(work));
}

RunLoop::Token RunLoop::schedule(double deadline, Work work) {
    if (deadline == -INFINITY) deadline = Clock::current()->uptime();
    return insert(deadline, std::move(work));
}

RunLoop::Token RunLoop::scheduleAfter(double seconds, Work work) {
    if (std::isnan(seconds)) return insert(NAN, std::move(work));
    if (seconds < 0) seconds = 0;
    return insert(Clock::current()->uptime() + seconds, std::move(work));
}

void RunLoop::cancel(Token token) {
    Work dropped; // released after unlocking: its captures may use the loop as they go
    std::lock_guard lock(mutex_);
    auto it = index_.find(token);
    if (it == index_.end()) return;
    auto item = items_.find(it->second);
    dropped = std::move(item->second);
    items_.erase(item);
    index_.erase(it);
}

std::size_t RunLoop::runDue() {
    const double now = Clock::current()->uptime();
    Token limit;
    {
        std::lock_guard lock(mutex_);
        limit = nextToken_;
    }
    std::size_t count = 0;
    for (;;) {
        Work work;
        {
            std::lock_guard lock(mutex_);
            auto it = items_.begin();
            // Skip items posted during this turn; they run at the next one.
            while (it != items_.end() && it->first.first <= now && it->first.second >= limit)
                ++it;
            if (it == items_.end() || it->first.first > now) break;
            work = std::move(it->second);
            index_.erase(it->first.second);
            items_.erase(it);
        }
        if (work) work();
        ++count;
    }
    return count;
}

std::size_t RunLoop::runUntilIdle() {
    std::size_t total = 0;
    for (int turn = 0; hasDueWork(); ++turn) {
        if (turn > 100000) fatal("the main run loop does not settle: work keeps re-posting itself");
        total += runDue();
    }
    return total;
}

std::optional<double> RunLoop::nextDeadline() const {
    std::lock_guard lock(mutex_);
    if (items_.empty()) return std::nullopt;
    return items_.begin()->first.first;
}

bool RunLoop::hasDueWork() const {
    auto next = nextDeadline();
    return next && *next <= Clock::current()->uptime();
}

std::size_t RunLoop::pendingCount() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

void RunLoop::run() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
    }
    for (;;) {
        runDue();
        std::unique_lock lock(mutex_);
        if (stopRequested_) return;
        auto clock = Clock::current();
        const double now = clock->uptime();
        if (!items_.empty() && items_.begin()->first.first <= now) continue;
        if (items_.empty()) {
            changed_.wait(lock);
        } else {
            double wait = items_.begin()->first.first - now;
            changed_.wait_for(lock, std::chrono::duration<double>(std::min(wait, 3600.0)));
        }
    }
}

void RunLoop::stop() {
    {
        std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    notify();
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeout) {
    using namespace std::chrono;
    // Clamped before converting: a huge or infinite timeout has no integer duration.
    const auto start = steady_clock::now();
    const auto realDeadline = !(timeout > 0) ? start
                              : timeout >= 1e9
                                  ? steady_clock::time_point::max()
                                  : start + duration_cast<steady_clock::duration>(duration<double>(timeout));
    for (;;) {
        runUntilIdle();
        if (done()) return true;
        if (steady_clock::now() >= realDeadline) return false;
        auto clock = Clock::current();
        std::unique_lock lock(mutex_);
        // Give other threads a moment to post work before jumping virtual time.
        const Token before = nextToken_;
        changed_.wait_for(lock, milliseconds(clock->isManual() ? 20 : 5),
                          [&] { return nextToken_ != before || stopRequested_; });
        if (nextToken_ != before) continue;
        if (clock->isManual() && !items_.empty()) {
            double next = items_.begin()->first.first;
            lock.unlock();
            if (auto* manual = dynamic_cast<ManualClock*>(clock.get())) manual->setUptime(next);
        }
    }
}

void RunLoop::advance(double seconds) {
    auto clock = Clock::current();
    auto* manual = dynamic_cast<ManualClock*>(clock.get());
    if (!manual) fatal("RunLoop::advance needs a manual clock");
    runUntilIdle();
    if (!(seconds > 0) || !std::isfinite(seconds)) return; // an endless advance would stop virtual time for good
    const double target = manual->uptime() + seconds;
    for (;;) {
        auto next = nextDeadline();
        if (!next || *next > target) break;
        manual->setUptime(*next);
        runUntilIdle();
    }
    manual->setUptime(target);
    runUntilIdle();
}

void RunLoop::setDriver(RunLoopDriver* driver) {
    {
        std::unique_lock lock(mutex_);
        RunLoopDriver* previous = std::exchange(driver_, driver);
        // A wake already under way on another thread still uses the previous driver; it may
        // be destroyed once this returns. A wake on this thread (uninstalling from within) is
        // the caller's own.
        if (previous && previous != driver) {
            const std::size_t own = wakingDriver == previous ? 1 : 0;
            wakeDone_.wait(lock, [&] {
                auto it = wakesInFlight_.find(previous);
                return it == wakesInFlight_.end() || it->second <= own;
            });
        }
    }
    if (driver) notify();
}

} // namespace foundation
