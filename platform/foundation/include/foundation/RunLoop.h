#pragma once

#include "foundation/Date.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace foundation {

// Runs the main run loop on some other event loop (Qt's, in a window host). The run loop
// calls `wake` from any thread whenever work was added or its earliest deadline moved; the
// driver then calls RunLoop::main().runDue() on the main thread no later than that deadline.
class RunLoopDriver {
public:
    virtual ~RunLoopDriver() = default;
    // `nextDeadline` is in Clock uptime seconds; empty when nothing is scheduled.
    virtual void wake(std::optional<double> nextDeadline) = 0;
};

// The main actor's loop: work items and timers, run in deadline order (work posted for "now"
// runs in posting order). Deadlines are on the current Clock's uptime. A NaN or +infinite
// deadline never runs; anything in the past runs at the next turn.
class RunLoop {
public:
    using Work = std::function<void()>;
    using Token = std::uint64_t;

    static RunLoop& main();

    // Thread-safe. Returns a token for cancel().
    Token perform(Work work);
    Token schedule(double deadline, Work work);
    Token scheduleAfter(double seconds, Work work);
    // Cancels a pending item; harmless if it ran or was cancelled already.
    void cancel(Token token);

    // One turn on the calling (main) thread: runs every item that was due and queued when the
    // turn started, in order. Returns how many ran.
    std::size_t runDue();
    // Turns until nothing is due now. Stops the program if work keeps re-posting itself.
    std::size_t runUntilIdle();

    std::optional<double> nextDeadline() const;
    bool hasDueWork() const;
    std::size_t pendingCount() const;

    // Runs on the calling thread until stop(). Waits in real time, so use it with the system clock.
    void run();
    void stop();

    // Runs until `done` holds; waits for wake-ups at most `timeout` real seconds in all.
    // With a manual clock, virtual time jumps to the next deadline when nothing else is due.
    bool runUntil(const std::function<bool()>& done, double timeout = 10.0);

    // Manual clock only: moves virtual time forward by `seconds`, stopping at every deadline on
    // the way to run what is due then, in order.
    void advance(double seconds);

    // Once it returns, the previous driver is called no more and may be destroyed.
    void setDriver(RunLoopDriver* driver);

private:
    RunLoop() = default;
    struct Item {
        Token token;
        Work work;
    };
    using Key = std::pair<double, Token>; // deadline, sequence
    Token insert(double deadline, Work work);
    void notify();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::map<Key, Work> items_;
    std::map<Token, Key> index_;
    Token nextToken_ = 1;
    RunLoopDriver* driver_ = nullptr;
    std::map<RunLoopDriver*, std::size_t> wakesInFlight_;
    std::condition_variable wakeDone_;
    bool stopRequested_ = false;
};

} // namespace foundation
