#include "Views/DisplayOrderCache.h"

#include "foundation/Date.h"

#include <gtest/gtest.h>

using quoril::Item;

namespace {

std::shared_ptr<Item> goal(bool inProgress = false, bool completed = false) {
    return std::make_shared<Item>(foundation::Date::now(), "", inProgress, completed);
}

} // namespace

TEST(DisplayOrderCache, SortsAgainWhenTheGoalsTheirOrderOrTheirFlagsChange) {
    quoril::DisplayOrderCache cache;
    auto a = goal(), b = goal(), c = goal(), d = goal();
    std::vector<std::shared_ptr<Item>> results{a, b, c};
    EXPECT_EQ(cache.sorted(results), results);
    EXPECT_EQ(cache.sorted(results), results) << "warm, nothing changed";

    // Same goals in the same places, flags changed.
    c->setInProgress(true);
    EXPECT_EQ(cache.sorted(results), (std::vector{c, a, b}));
    a->setInProgress(true);
    a->setCompleted(true);
    EXPECT_EQ(cache.sorted(results), (std::vector{a, c, b}));
    a->setCompleted(false);
    EXPECT_EQ(cache.sorted(results), (std::vector{a, c, b})) << "both in progress: the result's order";
    a->setInProgress(false);

    // Other order, other goals, same flags.
    EXPECT_EQ(cache.sorted({b, a, c}), (std::vector{c, b, a}));
    EXPECT_EQ(cache.sorted({b, d, c}), (std::vector{c, b, d}));
    EXPECT_EQ(cache.sorted({}), std::vector<std::shared_ptr<Item>>{});
}

TEST(DisplayOrderCache, TellsWhetherTheGoalsLastSortedHoldACompletedOne) {
    quoril::DisplayOrderCache cache;
    EXPECT_FALSE(cache.anyCompleted());
    auto a = goal(), b = goal(true, true);
    cache.sorted({a});
    EXPECT_FALSE(cache.anyCompleted());
    cache.sorted({a, b});
    EXPECT_TRUE(cache.anyCompleted());
    b->setCompleted(false);
    cache.sorted({a, b});
    EXPECT_FALSE(cache.anyCompleted()) << "a flag change with the same goals";
}

TEST(DisplayOrderCache, AKeptListStaysAsItWasWhenTheGoalsAreSortedAgain) {
    quoril::DisplayOrderCache cache;
    auto a = goal(), b = goal();
    const auto kept = cache.sharedSorted({a, b});
    EXPECT_EQ(cache.sharedSorted({a, b}), kept) << "nothing changed: the same list";
    b->setInProgress(true);
    const auto resorted = cache.sharedSorted({a, b});
    EXPECT_EQ(*resorted, (std::vector{b, a}));
    EXPECT_EQ(*kept, (std::vector{a, b})) << "a list kept by an earlier evaluation";
    EXPECT_EQ(cache.sorted({a, b}), *resorted);
}
