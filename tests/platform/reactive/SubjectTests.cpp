#include "reactive/AnyCancellable.h"
#include "reactive/PassthroughSubject.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

using namespace reactive;

TEST(PassthroughSubject, DeliversSynchronouslyInSubscriptionOrderAndNeverReplays) {
    PassthroughSubject<int> subject;
    std::vector<std::string> log;
    subject.send(1); // nobody listens; nothing is kept
    auto a = subject.sink([&](int v) { log.push_back("a" + std::to_string(v)); });
    auto b = subject.sink([&](int v) { log.push_back("b" + std::to_string(v)); });
    EXPECT_TRUE(log.empty());

    subject.send(2);
    EXPECT_EQ(log, (std::vector<std::string>{"a2", "b2"}));

    auto c = subject.sink([&](int v) { log.push_back("c" + std::to_string(v)); });
    auto copy = subject; // a copy is the same subject
    copy.send(3);
    EXPECT_EQ(log, (std::vector<std::string>{"a2", "b2", "a3", "b3", "c3"}));
}

TEST(PassthroughSubject, CompletionEndsTheSubjectForPresentAndLaterSubscribers) {
    PassthroughSubject<int, std::string> subject;
    std::vector<std::string> log;
    auto record = [&](const char* name) {
        return subject.sink(
            [&log, name](const Subscribers::Completion<std::string>& c) {
                log.push_back(std::string(name) + (c.isFinished() ? ":finished" : ":failed " + c.error()));
            },
            [&log, name](int v) { log.push_back(std::string(name) + std::to_string(v)); });
    };
    auto a = record("a");
    subject.send(1);
    subject.send(Subscribers::Completion<std::string>::failure("boom"));
    subject.send(2);
    subject.send(Subscribers::Completion<std::string>::finished());
    auto late = record("late");
    EXPECT_EQ(log, (std::vector<std::string>{"a1", "a:failed boom", "late:failed boom"}));
}

TEST(PassthroughSubject, SubscribersMayCancelThemselvesOrOthersDuringADelivery) {
    PassthroughSubject<int> subject;
    std::vector<std::string> log;
    AnyCancellable self, victim, latecomer;
    self = subject.sink([&](int v) {
        log.push_back("self" + std::to_string(v));
        self.cancel();
    });
    auto killer = subject.sink([&](int v) {
        log.push_back("killer" + std::to_string(v));
        victim.cancel();
        if (v == 1) latecomer = subject.sink([&](int w) { log.push_back("late" + std::to_string(w)); });
    });
    victim = subject.sink([&](int v) { log.push_back("victim" + std::to_string(v)); });

    subject.send(1); // the victim, cancelled before its turn, is skipped; the latecomer waits
    subject.send(2);
    EXPECT_EQ(log, (std::vector<std::string>{"self1", "killer1", "killer2", "late2"}));
}

TEST(PassthroughSubject, DroppingTheLastHandleFromWithinItsOwnSendIsSafe) {
    std::optional<PassthroughSubject<int>> subject(std::in_place);
    int received = 0;
    auto first = subject->sink([&](int) {
        ++received;
        subject.reset();
    });
    auto second = subject->sink([&](int) { ++received; });
    subject->send(1); // the send that is under way still reaches everyone
    EXPECT_EQ(received, 2);
    EXPECT_FALSE(subject);
}

TEST(AnyCancellable, CancelsOnceWhenCancelledOrWhenTheLastCopyGoes) {
    int cancels = 0;
    {
        AnyCancellable c([&] { ++cancels; });
        std::vector<AnyCancellable> vector;
        std::set<AnyCancellable> set;
        std::unordered_set<AnyCancellable> hashed;
        c.store(vector);
        c.store(set);
        c.store(hashed);
        c.store(set); // the same cancellable: stored once
        EXPECT_EQ(set.size(), 1u);
        EXPECT_EQ(*set.begin(), c);
        EXPECT_NE(AnyCancellable([] {}), c);
        vector.clear();
        EXPECT_EQ(cancels, 0); // other copies are alive
    }
    EXPECT_EQ(cancels, 1);

    AnyCancellable explicitly([&] { ++cancels; });
    const std::set<AnyCancellable> set{explicitly};
    set.begin()->cancel();
    explicitly.cancel();
    EXPECT_EQ(cancels, 2);
}

TEST(AnyCancellable, EndsItsSubscriptionAndReleasesTheClosures) {
    PassthroughSubject<int> subject;
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watched = token;
    int received = 0;
    {
        auto c = subject.sink([&received, token](int) { ++received; });
        token.reset();
        subject.send(1);
    }
    subject.send(2);
    EXPECT_EQ(received, 1);
    EXPECT_TRUE(watched.expired());

    // Cancelled or completed, the closures go even while the cancellable is still kept.
    token = std::make_shared<int>(0);
    watched = token;
    auto kept = subject.sink([token](int) {});
    token.reset();
    kept.cancel();
    EXPECT_TRUE(watched.expired());

    token = std::make_shared<int>(0);
    watched = token;
    auto completed = subject.sink([token](int) {});
    token.reset();
    subject.send(Subscribers::Completion<Never>::finished());
    EXPECT_TRUE(watched.expired());
}

// An owner that keeps the cancellable of a subscription whose closure keeps the owner: cancel()
// breaks the cycle, so the owner, and with it the cancellable being cancelled, goes while
// cancel() is still running.
TEST(AnyCancellable, MayReleaseItsOwnLastCopyWhileCancelling) {
    struct Owner {
        AnyCancellable subscription;
    };
    PassthroughSubject<int> subject;
    auto owner = std::make_shared<Owner>();
    std::weak_ptr<Owner> watched = owner;
    owner->subscription = subject.sink([owner](int) {});
    Owner* raw = owner.get();
    owner.reset();
    raw->subscription.cancel();
    EXPECT_TRUE(watched.expired());

    // The same with a plain action that holds the owner of its cancellable.
    owner = std::make_shared<Owner>();
    watched = owner;
    owner->subscription = AnyCancellable([owner] {});
    raw = owner.get();
    owner.reset();
    raw->subscription.cancel();
    EXPECT_TRUE(watched.expired());
}
