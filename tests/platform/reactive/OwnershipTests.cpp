#include "reactive/PassthroughSubject.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace reactive;
using foundation::RunLoop;

namespace {

using Chain = std::function<AnyPublisher<int>(PassthroughSubject<int>, PassthroughSubject<int>)>;

struct NamedChain {
    std::string name;
    Chain build;
};

std::vector<NamedChain> chains() {
    return {
        {"subject", [](auto a, auto) { return a.eraseToAnyPublisher(); }},
        {"map", [](auto a, auto) { return a.map([](int v) { return v + 1; }); }},
        {"filter", [](auto a, auto) { return a.filter([](int) { return true; }); }},
        {"compactMap", [](auto a, auto) { return a.compactMap([](int v) { return std::optional(v); }); }},
        {"removeDuplicates", [](auto a, auto) { return a.removeDuplicates(); }},
        {"merge", [](auto a, auto b) { return a.merge(b); }},
        {"debounce", [](auto a, auto) { return a.debounce(0.1, RunLoop::main()); }},
        {"receiveOn", [](auto a, auto) { return a.receiveOn(RunLoop::main()); }},
    };
}

struct OwnershipTest : ::testing::Test {
    foundation::ScopedManualClock clock;
    void TearDown() override { RunLoop::main().advance(1e6); }
};

} // namespace

// Whatever the chain, the subscriber's closures are let go once the subscription has ended,
// by cancel or by completion, even while the cancellable is still kept.
TEST_F(OwnershipTest, EveryChainReleasesItsSubscriberWhenCancelledOrCompleted) {
    for (const auto& chain : chains()) {
        SCOPED_TRACE(chain.name);
        for (bool byCompletion : {false, true}) {
            PassthroughSubject<int> a, b;
            auto token = std::make_shared<int>(0);
            std::weak_ptr<int> watched = token;
            int received = 0;
            auto kept = chain.build(a, b).sink([&received, token](int) { ++received; });
            token.reset();
            a.send(1);
            RunLoop::main().advance(1);
            EXPECT_EQ(received, 1);
            if (byCompletion) {
                a.send(Subscribers::Completion<Never>::finished());
                b.send(Subscribers::Completion<Never>::finished());
            } else {
                kept.cancel();
            }
            RunLoop::main().advance(1);
            EXPECT_TRUE(watched.expired()) << (byCompletion ? "after completion" : "after cancel");
        }
    }
}
