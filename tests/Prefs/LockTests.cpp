#include "Atomic.h"
#include "Lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

using namespace Prefs;

namespace {

bool takenElsewhere(Lock& lock) {
    bool taken = false;
    std::thread([&] {
        taken = lock.tryLock();
        if (taken) lock.unlock();
    }).join();
    return taken;
}

std::vector<std::shared_ptr<Lock>> bothVariants() {
    return {Lock::create(), std::make_shared<Lock::UnfairLock>()};
}

} // namespace

TEST(LockTest, CreateYieldsAnAllocatedUnfairLockThatStartsUnlocked) {
    auto lock = Lock::create();
    EXPECT_NE(std::dynamic_pointer_cast<Lock::AllocatedUnfairLock>(lock), nullptr);
    EXPECT_TRUE(lock->tryLock());
    lock->unlock();
    Lock::UnfairLock unfair;
    EXPECT_TRUE(unfair.tryLock());
    unfair.unlock();
}

TEST(LockTest, ALockKeepsOtherThreadsOutUntilReleased) {
    for (const auto& lock : bothVariants()) {
        lock->lock();
        EXPECT_FALSE(lock->tryLock()); // not re-entrant, even for a try
        EXPECT_FALSE(takenElsewhere(*lock));
        lock->unlock();
        EXPECT_TRUE(takenElsewhere(*lock));

        long counter = 0; // unguarded but for the lock
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < 20000; ++i) {
                    std::lock_guard guard(*lock);
                    ++counter;
                }
            });
        }
        for (auto& thread : threads)
            thread.join();
        EXPECT_EQ(counter, 80000);
    }
}

TEST(LockDeathTest, TakingAHeldLockAgainStopsTheProgramWhenChecksAreOn) {
#if !QUORIL_LOCK_CHECKS
    GTEST_SKIP() << "lock checks are off in builds with NDEBUG";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& lock : bothVariants()) {
        EXPECT_DEATH(
            {
                lock->lock();
                lock->lock();
            },
            "Fatal error: Prefs lock: a thread tried to take a lock it already holds");
    }
    EXPECT_DEATH(Lock::create()->unlock(),
                 "Fatal error: Prefs lock: a thread tried to release a lock it does not hold");
#endif
}

TEST(AtomicTest, ConcurrentModificationsLoseNothing) {
    auto counter = std::make_shared<Atomic<long>>(0);
    auto keys = std::make_shared<Atomic<std::set<int>>>(std::set<int>{});
    // Two fields changed in one modify: a concurrent read never sees one without the other.
    auto pair = std::make_shared<Atomic<std::pair<int, int>>>(std::pair{0, 0});
    std::atomic<bool> torn{false};
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            const auto [a, b] = pair->value();
            if (a != b) torn = true;
        }
    });
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&, t] {
            for (int i = 0; i < 5000; ++i) {
                counter->modify([](long& value) { ++value; });
                keys->modify([&](std::set<int>& set) { set.insert(t * 5000 + i); });
                pair->modify([](std::pair<int, int>& p) {
                    ++p.first;
                    ++p.second;
                });
            }
        });
    }
    for (auto& writer : writers)
        writer.join();
    done = true;
    reader.join();
    EXPECT_EQ(counter->value(), 20000);
    EXPECT_EQ(keys->value().size(), 20000u);
    EXPECT_EQ(pair->value(), (std::pair{20000, 20000}));
    EXPECT_FALSE(torn);

    counter->setValue(7);
    EXPECT_EQ(counter->value(), 7);
    EXPECT_EQ(counter->modify([](long& value) { return value * 2; }), 14);
}
