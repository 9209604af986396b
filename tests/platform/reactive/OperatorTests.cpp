#include "reactive/Empty.h"
#include "reactive/Fail.h"
#include "reactive/Just.h"
#include "reactive/MakePublisher.h"
#include "reactive/PassthroughSubject.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace reactive;

namespace {

template <class Failure> std::string describe(const Subscribers::Completion<Failure>& c) {
    if (c.isFinished()) return "finished";
    if constexpr (!std::is_same_v<Failure, Never>) return "failed " + c.error();
    return "?";
}

} // namespace

TEST(Operators, MapFilterAndCompactMapTransformInOrder) {
    PassthroughSubject<int> subject;
    std::vector<std::string> out;
    auto c = subject.filter([](int v) { return v % 2 == 1; })
                 .map([](int v) { return v * 10; })
                 .compactMap([](int v) { return v > 10 ? std::optional(std::to_string(v)) : std::nullopt; })
                 .sink([&](const std::string& s) { out.push_back(s); });
    for (int v : {1, 2, 3, 4, 5})
        subject.send(v);
    EXPECT_EQ(out, (std::vector<std::string>{"30", "50"}));

    PassthroughSubject<Void> signal; // a signal without payload takes functions of nothing
    int count = 0;
    auto d = signal.map([] { return 1; }).sink([&](int v) { count += v; });
    auto e = signal.sink([&] { ++count; });
    signal.send();
    EXPECT_EQ(count, 2);
}

TEST(Operators, RemoveDuplicatesDropsOnlyEqualNeighbours) {
    PassthroughSubject<int> subject;
    std::vector<int> out;
    auto c = subject.removeDuplicates().sink([&](int v) { out.push_back(v); });
    for (int v : {1, 1, 2, 2, 2, 1, 3, 3, 1})
        subject.send(v);
    EXPECT_EQ(out, (std::vector<int>{1, 2, 1, 3, 1}));

    PassthroughSubject<std::string> words;
    std::vector<std::string> kept;
    auto d = words
                 .removeDuplicates([](const std::string& previous, const std::string& next) {
                     return std::tolower(previous[0]) == std::tolower(next[0]);
                 })
                 .sink([&](const std::string& s) { kept.push_back(s); });
    for (const char* w : {"cherry", "Cranberry", "date", "Damson", "coconut"})
        words.send(w);
    EXPECT_EQ(kept, (std::vector<std::string>{"cherry", "date", "coconut"}));
}

TEST(Operators, MergeWithANeverCompletingEmptyNeverCompletes) {
    PassthroughSubject<int> a, b;
    std::vector<std::string> log;
    auto merged = Empty<int>(false).merge(a).eraseToAnyPublisher().merge(b);
    auto c = merged.sink([&](const auto& c) { log.push_back(describe(c)); },
                         [&](int v) { log.push_back(std::to_string(v)); });
    a.send(1);
    b.send(2);
    a.send(3);
    a.send(Subscribers::Completion<Never>::finished());
    b.send(Subscribers::Completion<Never>::finished());
    EXPECT_EQ(log, (std::vector<std::string>{"1", "2", "3"}));
}

TEST(Operators, MergeFinishesAfterAllFinishAndFailsAtTheFirstFailure) {
    PassthroughSubject<int> a, b;
    std::vector<std::string> log;
    auto c = a.merge(b, Empty<int>(), Just(7))
                 .sink([&](const auto& c) { log.push_back(describe(c)); },
                       [&](int v) { log.push_back(std::to_string(v)); });
    a.send(Subscribers::Completion<Never>::finished());
    b.send(1);
    b.send(Subscribers::Completion<Never>::finished());
    EXPECT_EQ(log, (std::vector<std::string>{"7", "1", "finished"}));

    PassthroughSubject<int, std::string> x, y;
    log.clear();
    auto d = x.merge(y).sink([&](const auto& c) { log.push_back(describe(c)); },
                             [&](int v) { log.push_back(std::to_string(v)); });
    x.send(1);
    y.send(Subscribers::Completion<std::string>::failure("broken"));
    x.send(2); // the failure cancelled the other upstream
    x.send(Subscribers::Completion<std::string>::finished());
    EXPECT_EQ(log, (std::vector<std::string>{"1", "failed broken"}));
}

TEST(Operators, CancellingAMergeCancelsEveryUpstream) {
    PassthroughSubject<int> a, b;
    int received = 0;
    auto c = a.merge(b).sink([&](int) { ++received; });
    a.send(1);
    c.cancel();
    a.send(2);
    b.send(3);
    EXPECT_EQ(received, 1);
}

TEST(Operators, JustEmptyAndFailEndAtOnce) {
    std::vector<std::string> log;
    auto record = [&](auto publisher) {
        return publisher.sink([&](const auto& c) { log.push_back(describe(c)); },
                              [&](int v) { log.push_back(std::to_string(v)); });
    };
    auto a = record(Just(4));
    auto b = record(Empty<int>());
    auto c = record(Fail<int, std::string>("no"));
    EXPECT_EQ(log, (std::vector<std::string>{"4", "finished", "finished", "failed no"}));
}

TEST(Operators, AssignWritesToAMemberOrASetterAndReleasesTheObject) {
    struct Target {
        int value = 0;
        std::string text;
        void setText(const std::string& t) { text = t; }
    };
    PassthroughSubject<int> numbers;
    PassthroughSubject<std::string> texts;
    auto target = std::make_shared<Target>();
    std::weak_ptr<Target> watched = target;

    auto held = numbers.assign(&Target::value, target);
    auto bySetter = texts.assign(&Target::setText, std::weak_ptr<Target>(target));
    Target local;
    auto raw = numbers.map([](int v) { return -v; }).assign(&Target::value, &local);
    numbers.send(3);
    texts.send("hi");
    EXPECT_EQ(target->value, 3);
    EXPECT_EQ(target->text, "hi");
    EXPECT_EQ(local.value, -3);

    target.reset();
    EXPECT_FALSE(watched.expired()); // the member assignment holds it
    held.cancel();
    EXPECT_TRUE(watched.expired());
    texts.send("gone"); // the weak form just stops
}

TEST(MakePublisher, StartsASourcePerSubscriberAndStopsItOnCancelOrCompletion) {
    int starts = 0, stops = 0;
    std::vector<Emitter<int>> emitters;
    auto source = makePublisher<int>([&](Emitter<int> emit) {
        ++starts;
        emitters.push_back(emit);
        emit.send(0); // sent from within start: already delivered
        return AnyCancellable([&] { ++stops; });
    });
    std::vector<int> a, b;
    auto first = source.sink([&](int v) { a.push_back(v); });
    auto second = source.sink([&](int v) { b.push_back(v); });
    ASSERT_EQ(starts, 2);
    emitters[0].send(1);
    emitters[1].send(2);
    first.cancel();
    emitters[0].send(3);
    EXPECT_TRUE(emitters[0].isCancelled());
    EXPECT_EQ(stops, 1);
    emitters[1].send(Subscribers::Completion<Never>::finished());
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(a, (std::vector<int>{0, 1}));
    EXPECT_EQ(b, (std::vector<int>{0, 2}));

    // A subscriber that cancels at the first value, sent during start, stops the source once
    // start has returned.
    struct TakeOne final : Subscriber<int> {
        std::shared_ptr<Subscription> subscription;
        int got = 0;
        void receiveSubscription(std::shared_ptr<Subscription> s) override { subscription = s; }
        Subscribers::Demand receive(const int&) override {
            ++got;
            std::exchange(subscription, nullptr)->cancel();
            return Subscribers::Demand::none();
        }
        void receiveCompletion(const Subscribers::Completion<Never>&) override {}
    };
    auto takeOne = std::make_shared<TakeOne>();
    source.subscribe(takeOne);
    emitters.back().send(9);
    EXPECT_EQ(takeOne->got, 1);
    EXPECT_EQ(stops, 3);
}

TEST(AnyPublisher, WrapsASubscribeFunction) {
    int subscribed = 0;
    AnyPublisher<int> numbers([&](const SubscriberPtr<int>& subscriber) {
        ++subscribed;
        Just(subscribed).receive(subscriber);
    });
    std::vector<int> out;
    auto a = numbers.sink([&](int v) { out.push_back(v); });
    auto b = numbers.map([](int v) { return v * 100; }).sink([&](int v) { out.push_back(v); });
    EXPECT_EQ(out, (std::vector<int>{1, 200}));
}
