#include "reactive/PassthroughSubject.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

using namespace reactive;

// Senders on several threads while other threads subscribe and cancel, some from within a
// delivery. Nothing may crash, a subscription kept throughout gets every value, and a
// subscription cancelled on a thread gets nothing from that thread's later sends.
TEST(PassthroughSubjectConcurrency, SendAndCancelRaceWithoutHarm) {
    constexpr int senders = 3, valuesPerSender = 20000, churners = 2, churnRounds = 2000;
    PassthroughSubject<int> subject;
    std::atomic<long> kept{0};
    std::atomic<int> violations{0};
    auto keeper = subject.sink([&](int v) {
        if (v > 0) kept.fetch_add(1, std::memory_order_relaxed);
    });

    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s)
        threads.emplace_back([&] {
            for (int i = 1; i <= valuesPerSender; ++i)
                subject.send(i);
        });
    for (int t = 0; t < churners; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < churnRounds; ++round) {
                const int id = t * churnRounds + round + 1;
                struct Slot {
                    std::mutex mutex;
                    AnyCancellable cancellable;
                    AnyCancellable get() {
                        std::lock_guard lock(mutex);
                        return cancellable;
                    }
                };
                auto slot = std::make_shared<Slot>();
                auto c = subject.sink([&violations, id, weak = std::weak_ptr(slot)](int v) {
                    if (v == -id) violations.fetch_add(1);
                    if (v % 7 == 0) // now and then a subscriber cancels itself from within a delivery
                        if (auto s = weak.lock()) s->get().cancel();
                });
                {
                    std::lock_guard lock(slot->mutex);
                    slot->cancellable = c;
                }
                subject.send(0);
                c.cancel();
                subject.send(-id);
            }
        });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(violations.load(), 0);
    EXPECT_EQ(kept.load(), long(senders) * valuesPerSender);
}

// A send whose subscriber drops the handle it was sent through, while another thread drops the
// subject's last other handle: whichever of the two goes last frees the subject, and the send
// finishing its way out must not touch it after that. (A race, so it shows under a sanitizer.)
TEST(PassthroughSubjectConcurrency, TheLastHandleMayGoOnAnotherThreadWhileASendLeaves) {
    for (int round = 0; round < 2000; ++round) {
        std::optional<PassthroughSubject<int>> mine(std::in_place);
        std::optional<PassthroughSubject<int>> theirs(*mine);
        std::atomic<bool> go{false};
        AnyCancellable other = mine->sink([](int) {});
        AnyCancellable dropper = mine->sink([&](int) {
            other.cancel(); // something retired, for the sender's way out to free
            mine.reset();
            go.store(true);
        });
        std::thread thread([&] {
            while (!go.load()) std::this_thread::yield();
            theirs.reset();
        });
        mine->send(1);
        thread.join();
        ASSERT_FALSE(mine);
    }
}
