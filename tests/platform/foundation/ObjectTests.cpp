#include "foundation/Object.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;

namespace {

// Keys are the addresses of statics, as real users' are.
const char firstKey = 0;
const char secondKey = 0;

struct Counted {
    std::atomic<int>& destroyed;
    std::function<void()> onDestroy = {};
    ~Counted() {
        if (onDestroy) onDestroy();
        ++destroyed;
    }
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

TEST(ObjectTest, AssociatedValuesGoWhenReplacedOrWhenTheOwnerGoes) {
    std::atomic<int> destroyed = 0;
    auto owner = std::make_shared<Object>();
    std::weak_ptr<Object> weakOwner = owner;
    bool ownerGoneWhenReleased = false;
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed));
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed));
    EXPECT_EQ(destroyed, 1);
    EXPECT_TRUE(owner->associatedObject<Counted>(&firstKey));
    EXPECT_FALSE(owner->associatedObject<int>(&firstKey)) << "read back as another type";
    owner->setAssociatedObject(&secondKey, std::make_shared<Counted>(destroyed, [&] {
        ownerGoneWhenReleased = weakOwner.expired();
    }));

    owner.reset();
    EXPECT_EQ(destroyed, 3);
    EXPECT_TRUE(ownerGoneWhenReleased);
}

TEST(ObjectTest, AReleasedValueMayUseTablesAsItGoes) {
    std::atomic<int> destroyed = 0;
    auto owner = std::make_shared<Object>();
    auto touchOwner = [&, raw = owner.get()] {
        raw->setAssociatedObject(&secondKey, std::make_shared<int>(7));
    };
    owner->setAssociatedObject(&firstKey, std::make_shared<Counted>(destroyed, touchOwner));
    owner->setAssociatedObject(&firstKey, nullptr); // would deadlock if released under the lock
    owner->modifyAssociatedObject(&firstKey, [&](const AssociatedValue&) -> AssociatedValue {
        return std::make_shared<Counted>(destroyed, touchOwner);
    });
    owner->modifyAssociatedObject(&firstKey, [](const AssociatedValue&) { return AssociatedValue(); });
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(*owner->associatedObject<int>(&secondKey), 7);
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
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    EXPECT_EQ(*owner->associatedObject<const int>(&firstKey), threads * rounds);
}

TEST(ObjectDeathTest, AModifierUsingItsOwnTableStopsTheProgram) {
    auto owner = std::make_shared<Object>();
    auto reenter = [&](const AssociatedValue&) { return owner->associatedObject(&secondKey); };
    EXPECT_DEATH(owner->modifyAssociatedObject(&firstKey, reenter),
                 "Fatal error: an associated-object modifier used the table it modifies");
}

TEST(ObjectTest, EqualityIsIdentityUnlessOverridden) {
    auto a = std::make_shared<Object>();
    auto b = std::make_shared<Object>();
    EXPECT_TRUE(*a == *a);
    EXPECT_FALSE(*a == *b);

    auto first = std::make_shared<Named>("same");
    auto second = std::make_shared<Named>("same");
    EXPECT_TRUE(*first == *second);
    EXPECT_FALSE(*first == Named("other"));
    EXPECT_FALSE(*first == *a);
    EXPECT_EQ(std::hash<Object>{}(*first), std::hash<Object>{}(*second));

    EXPECT_EQ(first->weakSelf<Named>().lock(), first);
    EXPECT_FALSE(Named("unowned").sharedSelf());
}
