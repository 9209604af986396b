#include "PrefsFixture.h"

#include "Prefs/Key.h"
#include "Prefs/Updates.h"
#include "Prefs/ValueAccess.h"

#include "foundation/AsyncStream.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "foundation/Task.h"
#include "foundation/TaskTesting.h"

#include "reactive/Void.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

using foundation::AsyncStream;
using foundation::Task;

namespace {

class UpdatesTest : public prefs_testing::PrefsTest {
protected:
    void TearDown() override { loop.advance(1e7); }

    // A key whose default getter counts its calls: each delivered notification reads it once.
    std::shared_ptr<Prefs::Key<int>> countingKey(const std::shared_ptr<foundation::UserDefaults>& defaults) {
        return std::make_shared<Prefs::Key<int>>("count", defaults, false, [this] {
            ++defaultReads;
            return -1;
        });
    }

    template <class T> static std::vector<T> take(AsyncStream<T>& stream, std::size_t count) {
        return foundation::testing::runUntilFinished(Task([&stream, count]() -> Task<std::vector<T>> {
            std::vector<T> values;
            while (values.size() < count) {
                auto value = co_await stream.next();
                if (!value) break;
                values.push_back(*std::move(value));
            }
            co_return values;
        }));
    }

    foundation::ScopedManualClock clock{foundation::Date(1000)};
    foundation::RunLoop& loop = foundation::RunLoop::main();
    int defaultReads = 0;
};

template <class Value, class... Args> std::shared_ptr<Prefs::Key<Value>> key(Args&&... args) {
    return std::make_shared<Prefs::Key<Value>>(std::forward<Args>(args)...);
}

} // namespace

TEST_F(UpdatesTest, OneKeyYieldsEveryWriteOnceInOrderAfterTheBufferedInitialValue) {
    const auto defaults = suite();
    const auto count = key<int>("count", 7, defaults);
    auto values = Prefs::updates(count, true);
    // Written before anyone consumes: the initial value was buffered first.
    Prefs::set(count, 1);
    count->reset();
    defaults->setObject("not a number", "count");
    EXPECT_EQ(take(values, 4), (std::vector<int>{7, 1, 7, 7}));

    auto quiet = Prefs::updates(count, false);
    std::thread writer([&] {
        for (int i = 0; i < 50; ++i)
            Prefs::set(count, i);
    });
    writer.join();
    std::vector<int> expected;
    for (int i = 0; i < 50; ++i)
        expected.push_back(i);
    EXPECT_EQ(take(quiet, 50), expected);
}

TEST_F(UpdatesTest, TheTupleFormRereadsEveryKeyAtEachChange) {
    const auto defaults = suite();
    const auto a = key<int>("a", 1, defaults);
    const auto b = key<std::string>("b", "x", defaults);
    const auto c = key<bool>("c", false, defaults);
    auto values = Prefs::updates(a, b, c, true);
    Prefs::set(a, 2);
    Prefs::set(c, true);
    Prefs::set(c, true);
    using Row = std::tuple<int, std::string, bool>;
    EXPECT_EQ(take(values, 4),
              (std::vector<Row>{{1, "x", false}, {2, "x", false}, {2, "x", true}, {2, "x", true}}));
}

TEST_F(UpdatesTest, TheUntypedFormYieldsOneInitialElementAndOnePerChange) {
    const auto defaults = suite();
    const auto a = key<int>("a", 1, defaults);
    const auto b = key<int>("b", 1, defaults);
    const auto c = key<int>("c", 1, defaults);
    auto events = Prefs::updates({a, b, c}, true);
    Prefs::set(b, 2);
    Prefs::set(c, 2);
    int seen = 0;
    auto consumer = Task([&events, &seen]() -> Task<> {
        while (co_await events.next())
            ++seen;
    });
    loop.runUntilIdle();
    EXPECT_EQ(seen, 3) << "one initial element, not one per key";
    Prefs::set(a, 3);
    loop.runUntilIdle();
    EXPECT_EQ(seen, 4);
    consumer.cancel();
    loop.runUntilIdle();

    int none = 0;
    auto nothing = Prefs::updates(std::vector<std::shared_ptr<Prefs::_AnyKey>>{}, true);
    auto idle = Task([&nothing, &none]() -> Task<> {
        while (co_await nothing.next())
            ++none;
    });
    loop.runUntilIdle();
    EXPECT_EQ(none, 0);
    idle.cancel();
    loop.runUntilIdle();
}

TEST_F(UpdatesTest, DroppingOrCancellingTheConsumerRemovesTheObservations) {
    const auto defaults = suite();
    const auto count = countingKey(defaults);
    { auto dropped = Prefs::updates(count, false); }
    Prefs::set(count, 1);
    EXPECT_EQ(defaultReads, 0) << "dropped on the main thread: stopped at once";

    auto values = Prefs::updates(count, false);
    auto consumer = Task([&values]() -> Task<int> {
        int seen = 0;
        while (co_await values.next())
            ++seen;
        co_return seen;
    });
    loop.runUntilIdle();
    Prefs::set(count, 2);
    consumer.cancel();
    EXPECT_EQ(foundation::testing::runUntilFinished(consumer), 1);
    const int reads = defaultReads;
    Prefs::set(count, 3);
    EXPECT_EQ(defaultReads, reads);

    // Ended on another thread: the observation stops once the main actor has run.
    auto elsewhere = std::make_optional(Prefs::updates(count, false));
    std::thread([&] { elsewhere.reset(); }).join();
    Prefs::set(count, 4);
    EXPECT_EQ(defaultReads, reads + 1) << "still observing until the main actor runs";
    loop.runUntilIdle();
    Prefs::set(count, 5);
    EXPECT_EQ(defaultReads, reads + 1);
}
