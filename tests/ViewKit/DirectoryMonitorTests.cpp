#include "ViewKit/DirectoryMonitor.h"
#include "ViewKit/DirectoryObservable.h"

#include "foundation/RunLoop.h"

#include "TemporaryFolder.h"
#include "ViewKitTestFiles.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

using namespace ViewKit;
using foundation::URL;
namespace fs = std::filesystem;
using viewkit_testing::writeFile;

namespace {

// Runs the main queue until `done` holds; bounded, as the events come from other threads.
bool eventually(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        foundation::RunLoop::main().runDue();
        std::this_thread::yield();
    }
    return true;
}

// The inotify descriptors this process holds.
int watchDescriptors() {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(entry.path(), error).string() == "anon_inode:inotify") ++count;
    }
    return count;
}

std::vector<std::string> names(const std::vector<URL>& urls) {
    std::vector<std::string> out;
    for (const auto& url : urls)
        out.push_back(url.lastPathComponent());
    std::sort(out.begin(), out.end());
    return out;
}

// Counts the listings an observable asks for.
class CountingFileManager : public foundation::FileManager {
public:
    std::vector<URL> contentsOfDirectory(const URL& url,
                                         foundation::DirectoryEnumerationOptions options) const override {
        ++listings;
        return FileManager::contentsOfDirectory(url, options);
    }
    mutable std::atomic<int> listings{0};
};

// Answers listings with what the test sets; a listing can be held until the test lets it go.
class GatedFileManager : public foundation::FileManager {
public:
    std::vector<URL> contentsOfDirectory(const URL&, foundation::DirectoryEnumerationOptions) const override {
        std::unique_lock lock(mutex);
        std::vector<URL> answer = next;
        if (holdNext) {
            holdNext = false;
            held = true;
            changed.notify_all();
            changed.wait(lock, [&] { return !held; });
        }
        return answer;
    }
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    mutable std::vector<URL> next;
    mutable bool holdNext = false;
    mutable bool held = false;
};

struct DirectoryMonitorTest : ::testing::Test {
    testing_support::TemporaryFolder temporary;
    fs::path folder = temporary.path() / "watched";
    URL url = URL::fileURLWithPath(folder, true);
    std::atomic<int> changes{0};

    DirectoryMonitorTest() { fs::create_directories(folder); }
    void TearDown() override { foundation::RunLoop::main().runUntilIdle(); }
};

struct DirectoryObservableTest : DirectoryMonitorTest {
    std::shared_ptr<CountingFileManager> fileManager = std::make_shared<CountingFileManager>();
    std::shared_ptr<DirectoryObservable> observable;

    void observe() {
        observable = DirectoryObservable::make(url, fileManager);
        ASSERT_TRUE(eventually(
            [&] { return fileManager->listings == 1 && !foundation::RunLoop::main().hasDueWork(); }));
    }
    bool listed(const std::vector<std::string>& expected) {
        return eventually([&] { return names(observable->files()) == expected; });
    }
};

} // namespace

TEST_F(DirectoryObservableTest, EntriesCreatedRenamedAndDeletedArePublished) {
    writeFile(folder / ".hidden", "x");
    observe();
    EXPECT_EQ(names(observable->files()), (std::vector<std::string>{".hidden"}));
    std::vector<std::vector<URL>> published;
    auto subscription =
        observable->filesPublisher().sink([&](const std::vector<URL>& files) { published.push_back(files); });

    writeFile(folder / "a.txt", "x");
    ASSERT_TRUE(listed({".hidden", "a.txt"}));
    EXPECT_EQ(std::count(observable->files().begin(), observable->files().end(),
                         URL::fileURLWithPath(folder / "a.txt")),
              1); // absolute URLs
    fs::rename(folder / "a.txt", folder / "b.txt");
    ASSERT_TRUE(listed({".hidden", "b.txt"}));
    fs::remove(folder / "b.txt");
    ASSERT_TRUE(listed({".hidden"}));
    EXPECT_GE(published.size(), 4u); // the current value, then one per change at least
}

TEST_F(DirectoryObservableTest, AWriteInsideAFileReloadsNothing) {
    writeFile(folder / "existing", "x");
    observe();
    writeFile(folder / "existing", "more text");
    // Once the monitor has read the write's events, a reload for it would already be on its way.
    pollfd waiting{observable->folderMonitor().fileDescriptor(), POLLIN, 0};
    ASSERT_TRUE(eventually([&] { return ::poll(&waiting, 1, 0) == 0; }));
    writeFile(folder / "sentinel", "");
    ASSERT_TRUE(listed({"existing", "sentinel"}));
    EXPECT_EQ(fileManager->listings, 2);
}

TEST_F(DirectoryObservableTest, ABurstOfEntriesEndsUpListedInFull) {
    observe();
    std::vector<std::string> expected;
    for (int i = 0; i < 100; ++i) {
        expected.push_back("entry-" + std::to_string(1000 + i));
        writeFile(folder / expected.back(), "");
    }
    EXPECT_TRUE(listed(expected));
}

TEST_F(DirectoryObservableTest, AFolderThatCannotBeListedPublishesAnEmptyList) {
    writeFile(folder / "a", "");
    observe();
    ASSERT_TRUE(listed({"a"}));
    fs::remove_all(folder); // its own removal is no event of it
    observable->reload();
    EXPECT_TRUE(listed({}));

    auto onAFile = DirectoryObservable::make(URL::fileURLWithPath(temporary.path() / "file"));
    writeFile(temporary.path() / "file", "x");
    onAFile->setFiles({url});
    onAFile->reload();
    EXPECT_TRUE(eventually([&] { return onAFile->files().empty(); }));
}

TEST_F(DirectoryObservableTest, AnOlderListingNeverReplacesANewerOne) {
    auto gated = std::make_shared<GatedFileManager>();
    auto observable = DirectoryObservable::make(url, gated);
    foundation::RunLoop::main().runUntilIdle();
    {
        std::lock_guard lock(gated->mutex);
        gated->next = {URL::fileURLWithPath(folder / "old")};
        gated->holdNext = true;
    }
    std::thread slow([&] { observable->reload(); });
    {
        std::unique_lock lock(gated->mutex);
        ASSERT_TRUE(gated->changed.wait_for(lock, std::chrono::seconds(5), [&] { return gated->held; }));
        gated->next = {URL::fileURLWithPath(folder / "new")};
    }
    observable->reload(); // begun later, done first
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(names(observable->files()), (std::vector<std::string>{"new"}));
    {
        std::lock_guard lock(gated->mutex);
        gated->held = false;
        gated->changed.notify_all();
    }
    slow.join();
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(names(observable->files()), (std::vector<std::string>{"new"}));
}

TEST_F(DirectoryObservableTest, AnObservableReleasedWithAReloadPendingIsNeverTouched) {
    observe();
    observable->reload();
    writeFile(folder / "late", ""); // and an event on its way
    const std::weak_ptr<DirectoryObservable> weak = observable;
    const int descriptors = watchDescriptors();
    observable.reset();
    // A reload the event started may hold it until the main queue runs; then it goes.
    EXPECT_TRUE(eventually([&] { return weak.expired(); }));
    EXPECT_EQ(watchDescriptors(), descriptors - 1);
    foundation::RunLoop::main().runUntilIdle(); // the pending assignments find nothing to set
}

TEST_F(DirectoryMonitorTest, StartsOnceStopsAndStartsAgain) {
    DirectoryMonitor monitor(url, [&] { ++changes; });
    EXPECT_EQ(monitor.fileDescriptor(), -1);
    EXPECT_EQ(monitor.monitorQueue().label(), "FolderMonitorQueue");
    const int before = watchDescriptors();
    monitor.startMonitoring();
    monitor.startMonitoring();
    EXPECT_EQ(watchDescriptors(), before + 1);
    EXPECT_NE(monitor.fileDescriptor(), -1);
    EXPECT_TRUE(monitor.monitorSource());

    writeFile(folder / "a", "");
    ASSERT_TRUE(eventually([&] { return changes >= 1; }));

    monitor.stopMonitoring();
    ASSERT_TRUE(eventually([&] { return monitor.fileDescriptor() == -1; }));
    EXPECT_FALSE(monitor.monitorSource());
    EXPECT_EQ(watchDescriptors(), before);

    monitor.startMonitoring();
    EXPECT_EQ(watchDescriptors(), before + 1);
    const int seen = changes;
    writeFile(folder / "b", "");
    EXPECT_TRUE(eventually([&] { return changes > seen; }));
}

TEST_F(DirectoryMonitorTest, AMissingFolderLeavesTheMonitorIdle) {
    const int before = watchDescriptors();
    DirectoryMonitor monitor(URL::fileURLWithPath(folder / "missing", true), [&] { ++changes; });
    monitor.startMonitoring();
    EXPECT_EQ(monitor.fileDescriptor(), -1);
    EXPECT_FALSE(monitor.monitorSource());
    EXPECT_EQ(watchDescriptors(), before);
    monitor.stopMonitoring(); // harmless
}

TEST_F(DirectoryMonitorTest, DestroyingAWatchingMonitorClosesItAndNoCallbackFollows) {
    const int before = watchDescriptors();
    std::atomic<int> witnessed{0};
    DirectoryMonitor witness(url, [&] { ++witnessed; });
    witness.startMonitoring();
    {
        DirectoryMonitor monitor(url, [&] { ++changes; });
        monitor.startMonitoring();
        EXPECT_EQ(watchDescriptors(), before + 2);
    }
    EXPECT_EQ(watchDescriptors(), before + 1);
    writeFile(folder / "after", "");
    // The witness watches the same folder: once it has heard of the entry, so would have the
    // destroyed monitor.
    ASSERT_TRUE(eventually([&] { return witnessed >= 1; }));
    EXPECT_EQ(changes, 0);
}

TEST_F(DirectoryMonitorTest, AMonitorMayBeDestroyedFromItsOwnCallback) {
    std::unique_ptr<DirectoryMonitor> monitor;
    std::atomic<bool> destroyed{false};
    monitor = std::make_unique<DirectoryMonitor>(url, [&] {
        monitor.reset();
        destroyed = true;
    });
    const int before = watchDescriptors();
    monitor->startMonitoring();
    writeFile(folder / "a", "");
    ASSERT_TRUE(eventually([&] { return destroyed.load(); }));
    EXPECT_EQ(watchDescriptors(), before);
}
