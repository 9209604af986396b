#include "ViewKit/ClosedRangeValues.h"
#include "ViewKit/ComparableLimited.h"
#include "ViewKit/DispatchQueueDelay.h"
#include "ViewKit/SequenceExtensions.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/TaskTesting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <list>
#include <stdexcept>
#include <string>
#include <vector>

using foundation::ClosedRange;
using foundation::Task;

namespace {

struct SequenceAsyncTest : ::testing::Test {
    foundation::ScopedManualClock clock{foundation::Date(1000)};
    foundation::RunLoop& loop = foundation::RunLoop::main();
    void TearDown() override { loop.advance(1e7); }
    double now() { return clock->uptime(); }
};

struct Span {
    int element;
    double start;
    double end;
};

} // namespace

TEST(SequenceExtensionTest, ChunksUniquesGroupsAndLimits) {
    using Chunks = std::vector<std::vector<int>>;
    const std::vector<int> five = {1, 2, 3, 4, 5};
    EXPECT_EQ(ViewKit::chunked(five, 2), (Chunks{{1, 2}, {3, 4}, {5}}));
    EXPECT_EQ(ViewKit::chunked(five, 0), Chunks{five});
    EXPECT_EQ(ViewKit::chunked(five, -1), Chunks{five});
    EXPECT_EQ(ViewKit::chunked(std::vector<int>{}, 2), Chunks{});
    EXPECT_EQ((ViewKit::chunked(std::list<int>{1, 2}, 2)), (Chunks{{1, 2}}));

    EXPECT_EQ(ViewKit::uniqued(std::vector<int>{1, 2, 1, 3, 2}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ViewKit::uniqued(std::vector<std::string>{}), std::vector<std::string>{});

    const auto groups =
        ViewKit::grouped(std::vector<std::string>{"apple", "bee", "avocado", "bean", "cherry"},
                         [](const std::string& word) { return word.front(); });
    EXPECT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups.at('a'), (std::vector<std::string>{"apple", "avocado"}));
    EXPECT_EQ(groups.at('b'), (std::vector<std::string>{"bee", "bean"}));

    EXPECT_TRUE(ViewKit::hasContent(five));
    EXPECT_FALSE(ViewKit::hasContent(std::string()));

    EXPECT_EQ(ViewKit::limited(5, ClosedRange(0, 3)), 3);
    EXPECT_EQ(ViewKit::limited(-1, ClosedRange(0, 3)), 0);
    EXPECT_EQ(ViewKit::limited(2, ClosedRange(0, 3)), 2);
    EXPECT_EQ(ViewKit::limited(std::string("m"), ClosedRange<std::string>("a", "k")), "k");
}

TEST(SequenceExtensionTest, StepsAreComputedFromTheLowerBound) {
    const auto tenths = ViewKit::values(ClosedRange(0.0, 1.0), 0.1);
    ASSERT_EQ(tenths.size(), 11u);
    EXPECT_EQ(tenths.back(), 1.0);
    EXPECT_EQ(tenths[3], 0.1 * 3); // not 0.1 + 0.1 + 0.1
    EXPECT_EQ(ViewKit::values(ClosedRange(0.0, 1.0), 0.3), (std::vector<double>{0.0, 0.3, 0.6, 0.3 * 3}));
    EXPECT_EQ(ViewKit::values(ClosedRange(0.0, 1.0), INFINITY), std::vector<double>{0.0});
    EXPECT_EQ(ViewKit::values(ClosedRange(1, 10), 3), (std::vector<int>{1, 4, 7, 10}));
    EXPECT_EQ(ViewKit::values(ClosedRange(1, 9), 3), (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(ViewKit::values(ClosedRange(1, 10), -1), std::vector<int>{});
    EXPECT_EQ(ViewKit::values(ClosedRange(4, 4), -1), std::vector<int>{4});

    constexpr auto most = std::numeric_limits<std::int64_t>::max();
    constexpr auto least = std::numeric_limits<std::int64_t>::min();
    EXPECT_EQ(ViewKit::values(ClosedRange(most - 2, most), 1),
              (std::vector<std::int64_t>{most - 2, most - 1, most}));
    EXPECT_EQ(ViewKit::values(ClosedRange(least, most), most),
              (std::vector<std::int64_t>{least, -1, most - 1}));
    EXPECT_EQ(ViewKit::values(ClosedRange(least, least + 1), most), std::vector<std::int64_t>{least});
    EXPECT_EQ(ViewKit::values(ClosedRange<std::uint8_t>(250, 255), 2),
              (std::vector<std::uint8_t>{250, 252, 254}));
}

TEST(SequenceExtensionDeathTest, AZeroStepStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ViewKit::values(ClosedRange(0, 10), 0),
                 "Fatal error: values\\(by:\\) needs a step other than zero");
    EXPECT_DEATH(ViewKit::values(ClosedRange(0.0, 1.0), 0.0), "Fatal error: .*step");
    EXPECT_DEATH(ViewKit::values(ClosedRange(0.0, 1.0), std::nan("")), "Fatal error: .*step");
}

TEST_F(SequenceAsyncTest, AsyncMapRunsOneTransformAfterAnother) {
    std::vector<Span> spans;
    const auto transform = [&](int seconds) -> Task<std::string> {
        const double start = now();
        co_await Task<>::sleep(seconds);
        spans.push_back({seconds, start, now()});
        co_return std::to_string(seconds);
    };
    const double begin = now();
    const auto results =
        foundation::testing::runUntilFinished(ViewKit::asyncMap(std::vector<int>{3, 1, 2}, transform));
    EXPECT_EQ(results, (std::vector<std::string>{"3", "1", "2"}));
    ASSERT_EQ(spans.size(), 3u);
    EXPECT_EQ(spans[0].start, begin);
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_EQ(spans[i].start, spans[i - 1].end) << "element " << spans[i].element;
    EXPECT_EQ(now() - begin, 6.0);

    const auto evens = foundation::testing::runUntilFinished(
        ViewKit::asyncCompactMap(std::vector<int>{1, 2, 3, 4}, [](int n) -> Task<std::optional<int>> {
            co_await Task<>::sleep(1);
            co_return n % 2 == 0 ? std::optional(n * 10) : std::nullopt;
        }));
    EXPECT_EQ(evens, (std::vector<int>{20, 40}));
}

TEST_F(SequenceAsyncTest, AThrowingTransformEndsTheWalk) {
    std::vector<int> called;
    const auto failing = [&](int n) -> Task<int> {
        called.push_back(n);
        co_await Task<>::sleep(1);
        if (n == 2) throw std::runtime_error("two");
        co_return n;
    };
    EXPECT_THROW(foundation::testing::runUntilFinished(ViewKit::asyncMap(std::vector<int>{1, 2, 3}, failing)),
                 std::runtime_error);
    EXPECT_EQ(called, (std::vector<int>{1, 2}));

    called.clear();
    const auto failingOptional = [&](int n) -> Task<std::optional<int>> {
        called.push_back(n);
        if (n == 1) throw std::runtime_error("one");
        co_return n;
    };
    EXPECT_THROW(foundation::testing::runUntilFinished(
                     ViewKit::asyncCompactMap(std::vector<int>{1, 2}, failingOptional)),
                 std::runtime_error);
    EXPECT_EQ(called, std::vector<int>{1});
}

TEST_F(SequenceAsyncTest, AsyncAfterRunsAtItsDeadlineOnTheQueue) {
    std::vector<double> ranAt;
    const double begin = now();
    ViewKit::asyncAfter(foundation::DispatchQueue::main(), 2, [&] { ranAt.push_back(now() - begin); });
    loop.advance(1.5);
    EXPECT_TRUE(ranAt.empty());
    loop.advance(0.5);
    EXPECT_EQ(ranAt, std::vector<double>{2.0});

    // Delays that are no time to wait: negative runs at once, NaN and infinity never.
    ViewKit::asyncAfter(foundation::DispatchQueue::main(), -5, [&] { ranAt.push_back(-5); });
    ViewKit::asyncAfter(foundation::DispatchQueue::main(), std::nan(""), [&] { ranAt.push_back(NAN); });
    ViewKit::asyncAfter(foundation::DispatchQueue::main(), INFINITY, [&] { ranAt.push_back(INFINITY); });
    loop.runUntilIdle();
    loop.advance(1e6);
    EXPECT_EQ(ranAt, (std::vector<double>{2.0, -5}));
}
