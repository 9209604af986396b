#include "foundation/Thread.h"

#include <gtest/gtest.h>

#include <any>
#include <memory>
#include <thread>

using foundation::Thread;

TEST(ThreadTest, EachThreadHasItsOwnDictionaryForItsLifetime) {
    ASSERT_TRUE(Thread::isMainThread());
    auto& mine = Thread::current().threadDictionary();
    mine["flag"] = true;

    auto marker = std::make_shared<int>(1);
    std::weak_ptr<int> watched = marker;
    bool otherIsMain = true;
    bool otherSawFlag = true;
    std::thread other([&, marker = std::move(marker)]() mutable {
        otherIsMain = Thread::isMainThread();
        auto& dictionary = Thread::current().threadDictionary();
        otherSawFlag = dictionary.contains("flag");
        dictionary["flag"] = false;
        dictionary["marker"] = std::move(marker);
        EXPECT_EQ(&dictionary, &Thread::current().threadDictionary());
    });
    other.join();

    EXPECT_FALSE(otherIsMain);
    EXPECT_FALSE(otherSawFlag);
    EXPECT_TRUE(std::any_cast<bool>(mine.at("flag")));
    EXPECT_TRUE(watched.expired()) << "the thread's dictionary outlived the thread";
    mine.erase("flag");
}
