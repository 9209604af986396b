#include "SuiteFixture.h"
#include "TestDates.h"

#include "foundation/KeyValueObserving.h"
#include "foundation/UserDefaults.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

using namespace foundation;
using testing_support::everyKind;
using testing_support::ScopedEnvironment;
using testing_support::throughAFile;
using testing_support::utc;

namespace {

using UserDefaultsTest = testing_support::SuiteTest;

// Whether /proc/locks shows a request waiting for a flock on the file with that inode.
bool someoneWaitsToLock(ino_t inode) {
    std::ifstream locks("/proc/locks");
    const std::string suffix = ":" + std::to_string(inode);
    for (std::string line; std::getline(locks, line);) {
        if (line.find("->") == std::string::npos) continue;
        std::istringstream fields(line);
        for (std::string field; fields >> field;) {
            // The file is "<major>:<minor>:<inode>".
            if (std::count(field.begin(), field.end(), ':') == 2 && field.ends_with(suffix)) return true;
        }
    }
    return false;
}

// Polls until `condition` holds or the patience runs out; its last answer.
template <class F> bool eventually(F condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return condition();
}

std::size_t openDescriptors() {
    const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return std::size_t(std::distance(begin(entries), end(entries)));
}

// Mappings of files in `folder`.
std::size_t mappingsIn(const std::filesystem::path& folder) {
    std::ifstream maps("/proc/self/maps");
    std::size_t count = 0;
    for (std::string line; std::getline(maps, line);)
        count += line.find(folder.string() + "/") != std::string::npos;
    return count;
}

// Root opens any file whatever its mode; without the capabilities the mode applies to this
// thread as to anyone. For death-test children only.
void dropCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    syscall(SYS_capset, &header, data);
}

std::vector<std::filesystem::path> corruptCopies(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> copies;
    const std::string prefix = file.filename().string() + ".corrupt-";
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().starts_with(prefix)) copies.push_back(entry.path());
    std::sort(copies.begin(), copies.end());
    return copies;
}

} // namespace

TEST_F(UserDefaultsTest, MakeRefusesNamesThatAreNoSafeFileName) {
    for (std::string_view bad : {"", "a/b", "/abs", ".", "..", ".hidden", "tab\there", "bell\x07", "del\x7f"})
        EXPECT_FALSE(UserDefaults::make(bad)) << bad;
    EXPECT_FALSE(UserDefaults::make(std::string_view("nul\0inside", 10)));
    EXPECT_FALSE(UserDefaults::make(std::string(201, 'x')));

    EXPECT_TRUE(UserDefaults::make(std::string(200, 'x')));
    EXPECT_TRUE(UserDefaults::make("com.example.App"));
    EXPECT_TRUE(UserDefaults::make("with space and ünïcode"));
    const auto a = suite("same");
    const auto b = suite("same");
    EXPECT_NE(a.get(), b.get());
    EXPECT_EQ(a->suiteName(), "same");
}

TEST_F(UserDefaultsTest, TheStandardSuiteIsOneObjectNamedAfterTheProgram) {
    const auto& standard = UserDefaults::standard();
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard.get(), UserDefaults::standard().get());
    EXPECT_EQ(standard->suiteName(), std::filesystem::read_symlink("/proc/self/exe").filename().string());
}

TEST_F(UserDefaultsTest, EveryKindRoundTripsThroughTheFile) {
    const auto values = everyKind();
    {
        const auto writer = suite();
        const auto reader = suite();
        for (const auto& [key, value] : values)
            writer->setObject(value, key);
        for (const auto& [key, value] : values) {
            // Both read what the file holds, not what was handed in.
            EXPECT_EQ(writer->objectForKey(key), throughAFile(value)) << key;
            EXPECT_EQ(reader->objectForKey(key), throughAFile(value)) << key;
        }
        EXPECT_NEAR(writer->objectForKey("date").date()->timeIntervalSinceReferenceDate(), 123456.7890123,
                    1e-6);
        EXPECT_EQ(writer->objectForKey("unsigned").kind(), PropertyList::Kind::integer);
    }
    // The domain went with its last object; a new one reads the file again.
    EXPECT_EQ(PropertyList(suite()->dictionaryRepresentation()), throughAFile(PropertyList(values)));
    EXPECT_EQ(parse(fileOf("com.example.test")), throughAFile(PropertyList(values)));
}

TEST_F(UserDefaultsTest, RemovingAndSettingAbsentDeleteTheKey) {
    const auto defaults = suite();
    defaults->setObject("a", "first");
    defaults->setObject("b", "second");
    defaults->removeObjectForKey("first");
    defaults->setObject(PropertyList(), "second");
    defaults->removeObjectForKey("never there");
    EXPECT_TRUE(defaults->objectForKey("first").isAbsent());
    EXPECT_TRUE(defaults->objectForKey("second").isAbsent());
    EXPECT_EQ(parse(fileOf("com.example.test")), PropertyList(PropertyList::Dictionary{}));
}

TEST_F(UserDefaultsTest, RegisteredValuesBelongToOneObjectAndAreNeverWritten) {
    const auto a = suite();
    const auto b = suite();
    a->registerDefaults({{"shown", true}, {"colour", "red"}});
    a->registerDefaults({{"colour", "blue"}, {"size", 3}}); // merges
    EXPECT_EQ(a->objectForKey("shown"), PropertyList(true));
    EXPECT_EQ(a->objectForKey("colour"), PropertyList("blue"));
    EXPECT_TRUE(b->objectForKey("shown").isAbsent());

    b->setObject(false, "shown");
    EXPECT_EQ(a->objectForKey("shown"), PropertyList(false));
    EXPECT_EQ(a->dictionaryRepresentation(),
              (PropertyList::Dictionary{{"shown", false}, {"colour", "blue"}, {"size", 3}}));
    EXPECT_EQ(b->dictionaryRepresentation(), (PropertyList::Dictionary{{"shown", false}}));
    EXPECT_EQ(parse(fileOf("com.example.test")), PropertyList(PropertyList::Dictionary{{"shown", false}}));

    b->removeObjectForKey("shown");
    EXPECT_EQ(a->objectForKey("shown"), PropertyList(true));
    EXPECT_TRUE(b->objectForKey("shown").isAbsent());
    // Registered values are never written, so nothing checks that a file could hold them.
    a->registerDefaults({{"odd", PropertyList::null()}});
    EXPECT_TRUE(a->objectForKey("odd").isNull());
}

TEST_F(UserDefaultsTest, ValuesNoFileCanHoldAreRefusedAndLogged) {
    const auto defaults = suite();
    defaults->setObject("stored", "kept");
    const auto before = bytesOf(fileOf("com.example.test"));
    PropertyList deep = 1;
    for (int i = 0; i < 600; ++i)
        deep = PropertyList::Array{deep};
    const std::vector<PropertyList> refused = {
        PropertyList::null(),
        utc(1900, 1, 1),
        utc(2100, 1, 1),
        std::numeric_limits<std::uint64_t>::max(),
        PropertyList::Array{1, PropertyList::null()},
        std::string("nul\0inside", 10),
        deep,
    };
    for (const auto& value : refused) {
        testing::internal::CaptureStderr();
        defaults->setObject(value, "kept");
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("com.example.test"), std::string::npos) << log;
        EXPECT_NE(log.find("\"kept\""), std::string::npos) << log;
        EXPECT_EQ(defaults->objectForKey("kept"), PropertyList("stored")) << value.description();
    }
    testing::internal::CaptureStderr();
    defaults->setObject(1, std::string_view("nul\0key", 7));
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(bytesOf(fileOf("com.example.test")), before);
    EXPECT_EQ(suite()->objectForKey("kept"), PropertyList("stored"));
}

TEST_F(UserDefaultsTest, AValueTooLargeForASuiteFileIsRefusedAndLaterWritesStillSave) {
    struct Counter : KeyValueObserver {
        std::atomic<int> calls{0};
        void observeValue(std::string_view, Object*, const KeyValueChange&, void*) override { ++calls; }
    };
    const auto defaults = suite();
    defaults->setObject("stored", "huge");
    const auto counter = std::make_shared<Counter>();
    defaults->addObserver(*counter, "huge", KeyValueObservingOption::prior, nullptr);

    testing::internal::CaptureStderr();
    defaults->setObject(Data(std::size_t(64) << 20), "huge"); // the file would pass 64 MiB
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("\"huge\""), std::string::npos) << log;
    EXPECT_EQ(counter->calls, 0);
    EXPECT_EQ(defaults->objectForKey("huge"), PropertyList("stored"));

    defaults->setObject("small", "later");
    EXPECT_TRUE(defaults->synchronize()) << "nothing left unwritten";
    EXPECT_EQ(parse(fileOf("com.example.test")),
              PropertyList(PropertyList::Dictionary{{"huge", "stored"}, {"later", "small"}}));
}

TEST_F(UserDefaultsTest, AFileReplacedWithoutTheLockIsSeenOnSynchronizeOrSoonAfter) {
    const auto defaults = suite();
    defaults->setObject(1, "n");
    EXPECT_EQ(defaults->objectForKey("n"), PropertyList(1));
    const auto replace = [&](int n) {
        // As an editor saves: a new file renamed over the old one, at the same size each time.
        const auto temporary = folder() / "replacement";
        const auto bytes =
            PropertyListSerialization::data(PropertyList::Dictionary{{"n", n}}, PropertyListFormat::binary);
        writeBytes(temporary, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        std::filesystem::rename(temporary, fileOf("com.example.test"));
    };
    for (int n = 2; n < 6; ++n) {
        replace(n);
        EXPECT_TRUE(defaults->synchronize());
        EXPECT_EQ(defaults->objectForKey("n"), PropertyList(n));
    }

    replace(6);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (defaults->objectForKey("n") != PropertyList(6) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_EQ(defaults->objectForKey("n"), PropertyList(6));

    std::filesystem::remove(fileOf("com.example.test"));
    EXPECT_TRUE(defaults->synchronize());
    EXPECT_TRUE(defaults->objectForKey("n").isAbsent());
}

TEST_F(UserDefaultsTest, ALockFileCutShortIsMappedAgainRatherThanReadPastItsEnd) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Reading the mapped count past the end of the file raises SIGBUS, which ends the child.
    EXPECT_EXIT(
        {
            const auto defaults = suite();
            defaults->setObject(1, "k"); // the count is mapped now
            std::filesystem::resize_file(fileOf("com.example.test").string() + ".lock", 0);
            const bool synchronized = defaults->synchronize();
            const bool read = defaults->objectForKey("k") == PropertyList(1);
            defaults->setObject(2, "k");
            std::exit(synchronized && read && suite()->objectForKey("k") == PropertyList(2) ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(UserDefaultsTest, AWriterThatWaitedForTheLockLocksTheLockFileThatIsThereNow) {
    const auto defaults = suite();
    defaults->setObject(0, "before");
    const std::string lockPath = fileOf("com.example.test").string() + ".lock";
    const auto openLocked = [&] {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(flock(fd, LOCK_EX), 0);
        return fd;
    };
    const auto inodeOf = [](int fd) {
        struct stat info {};
        fstat(fd, &info);
        return info.st_ino;
    };

    const int old = openLocked();
    std::atomic<bool> written{false};
    std::thread writer([&] {
        defaults->setObject(1, "k");
        written = true;
    });
    EXPECT_TRUE(eventually([&] { return someoneWaitsToLock(inodeOf(old)); }));
    // Another program replaces the lock file and locks the new one; then the old lock goes.
    std::filesystem::remove(lockPath);
    const int replacement = openLocked();
    ::close(old);
    EXPECT_TRUE(eventually([&] { return written || someoneWaitsToLock(inodeOf(replacement)); }));
    EXPECT_FALSE(written) << "saved while another held the suite's lock";
    ::close(replacement);
    writer.join();
    EXPECT_EQ(parse(fileOf("com.example.test")),
              PropertyList(PropertyList::Dictionary{{"before", 0}, {"k", 1}}));
}

TEST_F(UserDefaultsTest, TheFolderComesFromXdgOrHomeAndIsCreated) {
    {
        const ScopedEnvironment config("XDG_CONFIG_HOME", (folder() / "made/on/demand").c_str());
        suite("nested")->setObject(1, "k");
        EXPECT_TRUE(parse(folder() / "made/on/demand/nested.plist"));
    }
    const ScopedEnvironment home("HOME", (folder() / "home").c_str());
    for (const char* config : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        const ScopedEnvironment xdg("XDG_CONFIG_HOME", config);
        suite("fallback")->setObject(config ? config : "unset", "k");
        EXPECT_EQ((*parse(folder() / "home/.config/fallback.plist"))["k"],
                  PropertyList(config ? config : "unset"));
    }
    EXPECT_FALSE(std::filesystem::exists(folder() / "relative"));
}

TEST_F(UserDefaultsTest, ADamagedFileReadsAsEmptyAndIsMovedAsideOnTheNextWrite) {
    const std::vector<std::string> damaged = {
        "",
        "garbage that is no plist",
        "bplist00\x01\x02",
        std::string(
            PropertyListSerialization::data(PropertyList::Array{1, 2}, PropertyListFormat::binary).size(),
            '\0'),
        "<?xml version=\"1.0\"?><plist><string>no dictionary</string></plist>",
        "<?xml version=\"1.0\"?><plist><dict><key>a</key>",
    };
    int index = 0;
    for (const auto& bytes : damaged) {
        const std::string name = "damaged" + std::to_string(index++);
        const auto file = fileOf(name);
        writeBytes(file, bytes);
        const auto defaults = suite(name);
        defaults->registerDefaults({{"k", "registered"}});

        testing::internal::CaptureStderr();
        EXPECT_EQ(defaults->objectForKey("k"), PropertyList("registered"));
        EXPECT_EQ(suite(name)->objectForKey("k").isAbsent(), true);
        EXPECT_FALSE(defaults->synchronize());
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << "logged once per version: " << log;
        EXPECT_NE(log.find(name), std::string::npos);
        EXPECT_EQ(bytesOf(file), std::vector<std::uint8_t>(bytes.begin(), bytes.end()))
            << "reads leave it alone";
        EXPECT_TRUE(corruptCopies(file).empty());

        testing::internal::CaptureStderr();
        defaults->setObject("x", "other");
        testing::internal::GetCapturedStderr();
        const auto copies = corruptCopies(file);
        ASSERT_EQ(copies.size(), 1u) << name;
        EXPECT_EQ(bytesOf(copies[0]), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        EXPECT_EQ(parse(file), PropertyList(PropertyList::Dictionary{{"other", "x"}}));
        EXPECT_EQ(defaults->objectForKey("k"), PropertyList("registered"));
        EXPECT_TRUE(defaults->synchronize());
    }
}

TEST_F(UserDefaultsTest, ASecondDamagedVersionGetsACopyOfItsOwn) {
    const auto file = fileOf("twice");
    const auto defaults = suite("twice");
    testing::internal::CaptureStderr();
    writeBytes(file, "first damage");
    defaults->setObject(1, "k");
    writeBytes(file, "second damage");
    defaults->setObject(2, "k");
    testing::internal::GetCapturedStderr();
    const auto copies = corruptCopies(file);
    ASSERT_EQ(copies.size(), 2u);
    std::vector<std::string> contents;
    for (const auto& copy : copies) {
        const auto bytes = bytesOf(copy);
        contents.emplace_back(bytes.begin(), bytes.end());
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"first damage", "second damage"}));
    EXPECT_EQ(defaults->objectForKey("k"), PropertyList(2));
}

TEST_F(UserDefaultsTest, WhatIsNoRegularFileInTheSuitesPlaceIsReadAsEmptyAndNeverReplaced) {
    const auto fifo = fileOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", fileOf("zero"));
    std::filesystem::create_symlink(fileOf("loop"), fileOf("loop"));
    for (const std::string name : {"fifo", "zero", "loop"}) {
        const auto defaults = suite(name);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(defaults->objectForKey("k").isAbsent()) << name;
        defaults->setObject(1, "k");
        EXPECT_FALSE(defaults->synchronize()) << name;
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find(name), std::string::npos) << log;
        EXPECT_EQ(defaults->objectForKey("k"), PropertyList(1)) << "kept in memory";
        EXPECT_TRUE(corruptCopies(fileOf(name)).empty()) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(std::filesystem::read_symlink(fileOf("zero")), "/dev/zero");
}

TEST_F(UserDefaultsTest, AFileTooLargeForASuiteIsNotReadAndIsMovedAsideOnTheNextWrite) {
    const auto file = fileOf("huge");
    writeBytes(file, "bplist00");
    std::filesystem::resize_file(file, std::uintmax_t(1) << 40); // sparse: a terabyte of nothing
    const auto defaults = suite("huge");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(defaults->objectForKey("k").isAbsent());
    defaults->setObject(1, "k");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("too large"), std::string::npos) << log;
    const auto copies = corruptCopies(file);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(copies[0]), std::uintmax_t(1) << 40);
    EXPECT_EQ(parse(file), PropertyList(PropertyList::Dictionary{{"k", 1}}));
}

TEST_F(UserDefaultsTest, AnotherProgramsFileBehindTheLockFilesNameIsLeftAlone) {
    for (const std::string_view content : {"precious content", "tiny"}) {
        const auto victim = folder() / "victim";
        writeBytes(victim, content);
        const std::string name = "linked" + std::to_string(content.size());
        std::filesystem::create_symlink(victim, fileOf(name).string() + ".lock");
        const auto defaults = suite(name);
        EXPECT_TRUE(defaults->objectForKey("k").isAbsent());
        defaults->setObject(1, "k");
        defaults->setObject(2, "k");
        EXPECT_TRUE(defaults->synchronize());
        EXPECT_EQ(suite(name)->objectForKey("k"), PropertyList(2));
        const auto bytes = bytesOf(victim);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    }
}

TEST_F(UserDefaultsTest, AFifoInPlaceOfTheLockFileHoldsNoReaderUp) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dropCapabilities(); // so the FIFO cannot be opened for writing
            alarm(20);          // a hang ends the child, not the run
            mkfifo((fileOf("fifo").string() + ".lock").c_str(), 0400);
            const auto defaults = suite("fifo");
            testing::internal::CaptureStderr();
            defaults->setObject(1, "k"); // cannot lock: kept in memory
            const bool read = defaults->objectForKey("k") == PropertyList(1);
            const bool synchronized = defaults->synchronize();
            testing::internal::GetCapturedStderr();
            std::exit(read && !synchronized ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(UserDefaultsTest, AFileThatCannotBeOpenedIsLoggedOnceAndNeverReplaced) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            dropCapabilities();
            const auto file = fileOf("private");
            writeBytes(file, "whatever is in it");
            std::filesystem::permissions(file, std::filesystem::perms::none);
            const auto defaults = suite("private");
            testing::internal::CaptureStderr();
            for (int i = 0; i < 3; ++i)
                defaults->synchronize();
            defaults->setObject(1, "k");
            const std::string log = testing::internal::GetCapturedStderr();
            std::filesystem::permissions(file, std::filesystem::perms::owner_read);
            const auto bytes = bytesOf(file);
            std::size_t reads = 0;
            for (auto at = log.find("reading it as empty"); at != std::string::npos;
                 at = log.find("reading it as empty", at + 1))
                ++reads;
            std::cerr << log;
            std::exit(reads == 1 && std::string(bytes.begin(), bytes.end()) == "whatever is in it" &&
                              defaults->objectForKey("k") == PropertyList(1)
                          ? 0
                          : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(UserDefaultsTest, AFileThatCouldNotBeOpenedForAMomentIsReadOnTheNextSynchronize) {
#ifdef QUORIL_SANITIZE_UNDEFINED
    // The dynamic-type check probes memory through a pipe; with every descriptor taken it
    // reports any virtual call as one on an invalid object.
    GTEST_SKIP() << "needs free descriptors under the undefined-behaviour sanitizer";
#endif
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto child = [&] {
        suite()->setObject(1, "k");
        testing::internal::CaptureStderr();
        // Every descriptor taken, as in a process that runs out of them for a while.
        const rlimit limit{64, 64};
        setrlimit(RLIMIT_NOFILE, &limit);
        std::vector<int> taken;
        for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
            taken.push_back(fd);
        const auto defaults = suite();
        const bool missedThen = defaults->objectForKey("k").isAbsent();
        for (const int fd : taken)
            ::close(fd);
        const bool synchronized = defaults->synchronize();
        const bool readNow = defaults->objectForKey("k") == PropertyList(1);
        defaults->setObject(2, "j");
        std::cerr << testing::internal::GetCapturedStderr();
        const auto file = parse(fileOf("com.example.test"));
        const bool merged = file && *file == PropertyList(PropertyList::Dictionary{{"k", 1}, {"j", 2}});
        std::exit(missedThen && synchronized && readNow && merged ? 0 : 1);
    };
    EXPECT_EXIT(child(), testing::ExitedWithCode(0), "");
}

TEST_F(UserDefaultsTest, NothingStaysOpenOrMappedOnceTheSuitesAreGone) {
    const std::size_t descriptors = openDescriptors();
    writeBytes(fileOf("damaged"), "no plist");
    std::filesystem::create_directory(fileOf("folder"));
    ASSERT_EQ(mkfifo(fileOf("fifo").c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    for (const std::string name : {"plain", "damaged", "folder", "fifo"}) {
        const auto defaults = suite(name);
        const auto other = suite(name);
        defaults->objectForKey("k");
        defaults->setObject(1, "k");
        other->removeObjectForKey("k");
        defaults->synchronize();
        other->dictionaryRepresentation();
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(mappingsIn(folder()), 0u);
}

TEST_F(UserDefaultsTest, AFailedWriteKeepsTheChangeAndRetriesWithTheNextWrite) {
    const auto file = fileOf("blocked");
    std::filesystem::create_directory(file); // a folder where the file belongs
    const auto defaults = suite("blocked");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(defaults->objectForKey("a").isAbsent());
    defaults->setObject("kept in memory", "a");
    EXPECT_FALSE(defaults->synchronize());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("blocked"), std::string::npos) << log;
    EXPECT_EQ(defaults->objectForKey("a"), PropertyList("kept in memory"));
    EXPECT_TRUE(std::filesystem::is_directory(file)) << "a folder is never moved or replaced";

    std::filesystem::remove(file);
    defaults->setObject("written", "b");
    EXPECT_EQ(parse(file), PropertyList(PropertyList::Dictionary{{"a", "kept in memory"}, {"b", "written"}}));
    EXPECT_TRUE(defaults->synchronize());
}
