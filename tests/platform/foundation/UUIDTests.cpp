#include "foundation/UUID.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

using foundation::UUID;

TEST(UUIDTest, RandomIdentifiersAreVersion4AndDistinctAcrossThreads) {
    std::mutex mutex;
    std::unordered_set<UUID> seen;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                UUID id;
                std::lock_guard lock(mutex);
                seen.insert(id);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(seen.size(), 4000u);
    for (const UUID& id : seen) {
        EXPECT_EQ(id.bytes()[6] >> 4, 4);
        EXPECT_EQ(id.bytes()[8] >> 6, 2);
        EXPECT_EQ(id.uuidString()[14], '4');
    }
}

TEST(UUIDTest, TextIsUpperCaseAndParsesInEitherCase) {
    const UUID id(UUID::Bytes{0xE6, 0x21, 0xE1, 0xF8, 0xC3, 0x6C, 0x49, 0x5A, 0x93, 0xFC, 0x0C, 0x24, 0x7A,
                              0x3E, 0x6E, 0x5F});
    EXPECT_EQ(id.uuidString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"), id);
    EXPECT_EQ(UUID::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), id);
    EXPECT_EQ(UUID::fromString("e621E1f8-C36c-495A-93fC-0C247a3E6E5F"), id);

    UUID random;
    EXPECT_EQ(UUID::fromString(random.uuidString()), random);
}

TEST(UUIDTest, RejectsMalformedText) {
    for (const char* text : {
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5",    // short
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5F0",  // long
             "E621E1F8C36C-495A-93FC-0C247A3E6E5F0",   // a hyphen missing
             "E621E1F-8C36C-495A-93FC-0C247A3E6E5F",   // a hyphen misplaced
             "E621E1F8-C36C-495A-93FC-0C24-7A3E6E5F",  // an extra hyphen
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5G",   // not hexadecimal
             "E621E1F8-C36C-495A-93FC-+C247A3E6E5F",   // a sign
             "{E621E1F8-C36C-495A-93FC-0C247A3E6E}",   // braces
             " E621E1F8-C36C-495A-93FC-0C247A3E6E5",   // whitespace
             "E621E1F8-C36C-495A-93FC-0C247A3E6E5F\n", // a trailing newline
         }) {
        EXPECT_EQ(UUID::fromString(text), std::nullopt) << text;
    }
    EXPECT_EQ(UUID::fromString(std::string("E621E1F8-C36C-495A-93FC-0C247A3E6E5\0", 36)), std::nullopt);
}

TEST(UUIDTest, OrderIsTheOrderOfTheText) {
    std::vector<UUID> ids(100);
    std::vector<UUID> byText = ids;
    std::sort(ids.begin(), ids.end());
    std::sort(byText.begin(), byText.end(), [](auto& a, auto& b) { return a.uuidString() < b.uuidString(); });
    EXPECT_EQ(ids, byText);
}
