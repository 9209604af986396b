// Suites shared with a second process, the helper in helpers/SuiteHelper.cpp.
#include "ChildProcess.h"
#include "SuiteFixture.h"

#include "foundation/PropertyListSerialization.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace foundation;
using testing_support::ChildProcess;

namespace {

using UserDefaultsProcessTest = testing_support::SuiteTest;

const std::string helperPath = SUITE_HELPER_PATH;

// Runs the helper to its end: its output, after checking that it succeeded.
std::string runHelper(const std::vector<std::string>& arguments) {
    ChildProcess helper(helperPath, arguments);
    EXPECT_TRUE(helper.isStarted());
    const std::string output = helper.readAll();
    EXPECT_EQ(helper.finish(), 0) << arguments.at(0);
    return output;
}

// The number in a "saved <round>" line, or -1.
long savedRound(const std::optional<std::string>& line) {
    if (!line || !line->starts_with("saved ")) return -1;
    return std::stol(line->substr(6));
}

} // namespace

TEST_F(UserDefaultsProcessTest, AnotherProcessReadsEveryKindThisOneWrote) {
    const auto defaults = suite("shared");
    for (const auto& [key, value] : testing_support::everyKind())
        defaults->setObject(value, key);
    const std::string dump = runHelper({"dump", "shared"});
    const auto bytes = std::vector<std::uint8_t>(dump.begin(), dump.end());
    EXPECT_EQ(PropertyListSerialization::propertyList(bytes),
              PropertyList(defaults->dictionaryRepresentation()));
    EXPECT_EQ(runHelper({"get", "shared", "text"}), "héllo \"world\"\n");
}

TEST_F(UserDefaultsProcessTest, ThisProcessSeesWhatAnotherWrote) {
    const auto defaults = suite("shared");
    defaults->setObject("mine", "a");
    EXPECT_TRUE(defaults->objectForKey("b").isAbsent()); // the domain has read the file now
    runHelper({"set", "shared", "b", "theirs"});
    EXPECT_EQ(defaults->objectForKey("b"), PropertyList("theirs"));
    runHelper({"set", "shared", "b", "theirs again"});
    EXPECT_EQ(defaults->objectForKey("b"), PropertyList("theirs again"));
    // Their writes merged with ours, and ours with theirs.
    defaults->setObject("mine too", "c");
    EXPECT_EQ(runHelper({"get", "shared", "a"}), "mine\n");
    EXPECT_EQ(*parse(fileOf("shared")), PropertyList(PropertyList::Dictionary{
                                            {"a", "mine"}, {"b", "theirs again"}, {"c", "mine too"}}));
}

TEST_F(UserDefaultsProcessTest, AReplacedLockFileIsFoundAgain) {
    const auto defaults = suite("shared");
    defaults->setObject("mine", "a");
    EXPECT_TRUE(defaults->objectForKey("b").isAbsent());
    // The save count lives in the lock file; another writer now counts in a new one.
    std::filesystem::remove(fileOf("shared").string() + ".lock");
    runHelper({"set", "shared", "b", "first"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (defaults->objectForKey("b").isAbsent() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(defaults->objectForKey("b"), PropertyList("first"));
    runHelper({"set", "shared", "b", "second"});
    EXPECT_EQ(defaults->objectForKey("b"), PropertyList("second")) << "seen at once again";
}

TEST_F(UserDefaultsProcessTest, TwoProcessesWritingDifferentKeysAtOnceKeepBoth) {
    constexpr int rounds = 150;
    const auto defaults = suite("contended");
    defaults->setObject(-1, "before"); // both sides start from a cached file
    ChildProcess helper(helperPath, {"write-keys", "contended", "theirs", std::to_string(rounds)});
    ASSERT_EQ(helper.readLine(), "ready");
    for (int i = 0; i < rounds; ++i)
        defaults->setObject(i, "ours" + std::to_string(i));
    ASSERT_EQ(helper.finish(), 0);

    const auto file = parse(fileOf("contended"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->dictionary()->size(), std::size_t(2 * rounds + 1));
    for (int i = 0; i < rounds; ++i) {
        EXPECT_EQ((*file)["ours" + std::to_string(i)], PropertyList(i));
        EXPECT_EQ((*file)["theirs" + std::to_string(i)], PropertyList(i));
        EXPECT_EQ(defaults->objectForKey("theirs" + std::to_string(i)), PropertyList(i));
    }
}

TEST_F(UserDefaultsProcessTest, AWriterKilledWhileSavingLeavesAnOldOrANewVersion) {
    constexpr int entries = 4000; // a few hundred kilobytes per save
    struct KillPoint {
        long afterRound;
        bool insideASave; // once its temporary file is there
    };
    int killedInsideASave = 0;
    for (const auto point : {KillPoint{-1, false}, KillPoint{0, true}, KillPoint{2, false},
                             KillPoint{3, true}, KillPoint{6, true}, KillPoint{9, false}}) {
        SCOPED_TRACE(point.afterRound);
        const std::string name = "killed" + std::to_string(point.afterRound + 1);
        suite(name)->setObject(PropertyList::Dictionary{{"round", -1}}, "version");
        const auto temporaries = [&] {
            int count = 0;
            for (const auto& entry : std::filesystem::directory_iterator(folder()))
                count += entry.path().filename().string().starts_with("." + name + ".plist.");
            return count;
        };

        ChildProcess helper(helperPath, {"write-loop", name, std::to_string(entries)});
        ASSERT_EQ(helper.readLine(), "ready");
        long saved = -1;
        while (saved < point.afterRound) {
            saved = savedRound(helper.readLine());
            ASSERT_GE(saved, 0) << "no progress";
        }
        const auto deadline = std::chrono::steady_clock::now() + ChildProcess::patience;
        while (point.insideASave && temporaries() == 0 && std::chrono::steady_clock::now() < deadline) {
        }
        helper.kill();
        killedInsideASave += temporaries() > 0;

        const auto file = parse(fileOf(name));
        ASSERT_TRUE(file) << "the file must always parse";
        const PropertyList version = (*file)["version"];
        const auto round = version["round"].number<long>();
        ASSERT_TRUE(round);
        EXPECT_GE(*round, saved) << "a save that finished is on disk";
        if (*round != -1) {
            EXPECT_EQ(version.dictionary()->size(), std::size_t(entries + 1));
            for (const auto& [key, value] : *version.dictionary()) {
                if (key == "round") continue;
                ASSERT_TRUE(value.string() &&
                            value.string()->starts_with("round " + std::to_string(*round) + " "))
                    << key << " holds " << value.description();
            }
        }
        EXPECT_EQ(suite(name)->objectForKey("version"), version);
        // The next save clears what the killed writer left.
        suite(name)->setObject(1, "after");
        EXPECT_EQ(temporaries(), 0);
    }
    RecordProperty("killedInsideASave", killedInsideASave);
}
