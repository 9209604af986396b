#include "foundation/Object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

using namespace foundation;

namespace {

// Keys are the addresses of statics, as real users' are.
const char firstKey = 0;
const char secondKey = 0;

struct Counted {
    explicit Counted(std::atomic<int>& destroyed, std::function<void()> onDestroy = {})
        : destroyed(destroyed)
        , onDestroy(std::move(onDestroy)) {}
    ~Counted() {
        if (onDestroy) onDestroy();
        ++destroyed;
    }
    std::atomic<int>& destroyed;
    std::function<void()> onDestroy;
};

struct Named : Object {
    explicit Named(std::string name)
        : name(std::move(name)) {}
    bool isEqual(const Object& other) const override {
        auto* named = dynamic_cast<const Named*>(&other);
        return named && named->name == name;
    }
    std::size_t hash() const override { return std::hash<std::string>{}(name); }
    std::string name;
};

} // namespace

TEST(ObjectTest, AssociatedValuesAreReleasedExactlyWhenTheOwnerIsDestroyed) {
    std::atomic<int> destroyed = 0;
    auto owner = std::make_shared<Object>();
    std::weak_ptr<Object> weakOwner = owner;
    bool ownerGoneWhenReleased = false;
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed));
    owner->setAssociatedObject(&secondKey, std::make_shared<Counted>(destroyed, [&] {
        ownerGoneWhenReleased = weakOwner.expired();
    }));
    EXPECT_EQ(destroyed, 0);
    EXPECT_TRUE(owner->associatedObject<Counted>(&firstKey));

    owner.reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(ownerGoneWhenReleased);
}

TEST(ObjectTest, ReplacingOrClearingReleasesTheOldValue) {
    std::atomic<int> destroyed = 0;
    auto owner = std::make_shared<Object>();
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed));
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed));
    EXPECT_EQ(destroyed, 1);
    owner->setAssociatedObject(&firstKey, nullptr);
    EXPECT_EQ(destroyed, 2);
    EXPECT_FALSE(owner->associatedObject(&firstKey));
}

TEST(ObjectTest, AReleasedValueMayUseTablesAsItGoes) {
    std::atomic<int> destroyed = 0;
    auto owner = std::make_shared<Object>();
    auto other = std::make_shared<Object>();
    Object* raw = owner.get();
    auto touchTables = [&] {
        raw->associatedObject(&secondKey);
        other->setAssociatedObject(&firstKey, std::make_shared<int>(7));
    };
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed, touchTables));
    owner->setAssociatedObject(&firstKey, nullptr); // would deadlock if released under the lock
    EXPECT_EQ(destroyed, 1);

    owner->modifyAssociatedObject(&secondKey, [&](const AssociatedValue&) -> AssociatedValue {
        return std::make_shared<Counted>(destroyed, touchTables);
    });
    owner->modifyAssociatedObject(&secondKey, [](const AssociatedValue&) { return AssociatedValue(); });
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(*other->associatedObject<int>(&firstKey), 7);
}

TEST(ObjectTest, ValuesReadBackOnlyAsTheTypeTheyWereStoredAs) {
    auto owner = std::make_shared<Object>();
    owner->setAssociatedObject(&firstKey, std::make_shared<int>(3));
    EXPECT_EQ(*owner->associatedObject<int>(&firstKey), 3);
    EXPECT_FALSE(owner->associatedObject<double>(&firstKey));
    EXPECT_FALSE(owner->associatedObject<int>(&secondKey));

    owner->setAssociatedObject(&secondKey, std::make_shared<const int>(4));
    EXPECT_FALSE(owner->associatedObject<int>(&secondKey));
    EXPECT_EQ(*owner->associatedObject<const int>(&secondKey), 4);
}

TEST(ObjectTest, ModifyIsOneAtomicStepAcrossThreads) {
    auto owner = std::make_shared<Object>();
    constexpr int threads = 8;
    constexpr int rounds = 2000;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&] {
            for (int i = 0; i < rounds; ++i) {
                // Copy on write, so a reader never sees a value change under it.
                owner->modifyAssociatedObject<const int>(&firstKey, [](std::shared_ptr<const int> count) {
                    return std::make_shared<const int>(count ? *count + 1 : 1);
                });
                owner->associatedObject<const int>(&firstKey);
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(*owner->associatedObject<const int>(&firstKey), threads * rounds);
}

TEST(ObjectDeathTest, AModifierUsingItsOwnTableStopsTheProgram) {
    auto owner = std::make_shared<Object>();
    EXPECT_DEATH(owner->modifyAssociatedObject(
                     &firstKey, [&](const AssociatedValue&) { return owner->associatedObject(&secondKey); }),
                 "Fatal error: an associated-object modifier used the table it modifies");
}

TEST(ObjectTest, EqualityIsIdentityUnlessOverridden) {
    auto a = std::make_shared<Object>();
    auto b = std::make_shared<Object>();
    EXPECT_TRUE(*a == *a);
    EXPECT_FALSE(*a == *b);
    EXPECT_NE(a->hash(), b->hash());

    auto first = std::make_shared<Named>("same");
    auto second = std::make_shared<Named>("same");
    EXPECT_TRUE(*first == *second);
    EXPECT_FALSE(*first == Named("other"));
    EXPECT_FALSE(*first == *a);
    EXPECT_EQ(std::hash<Object>{}(*first), std::hash<Object>{}(*second));
}

TEST(ObjectTest, SelfReferencesAreTypedAndEmptyWhenUnowned) {
    auto named = std::make_shared<Named>("n");
    std::shared_ptr<Named> self = named->sharedSelf<Named>();
    EXPECT_EQ(self, named);
    std::weak_ptr<Named> weak = named->weakSelf<Named>();
    EXPECT_EQ(weak.lock(), named);
    struct Unrelated : Object {};
    EXPECT_FALSE(named->sharedSelf<Unrelated>());

    Named unowned("u");
    EXPECT_FALSE(unowned.sharedSelf());
    EXPECT_TRUE(unowned.weakSelf<Named>().expired());
}
