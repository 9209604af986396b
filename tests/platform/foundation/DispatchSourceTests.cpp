#include "foundation/DispatchQueue.h"
#include "foundation/DispatchSource.h"
#include "foundation/RunLoop.h"

#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

// A folder watched for writes; each call records what the folder held then.
struct FolderSourceTest : ::testing::Test {
    testing_support::TemporaryFolder temporary;
    fs::path folder = temporary.path();
    DispatchQueue queue{"events"};
    int descriptor = -1;
    std::shared_ptr<DispatchSourceFileSystemObject> source;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::set<std::string>> calls;
    FileSystemEvent seen = FileSystemEvent::none;
    bool closed = false;

    void watch() {
        descriptor = openEventOnly(folder.c_str());
        ASSERT_GE(descriptor, 0);
        source = DispatchSource::makeFileSystemObjectSource(descriptor, FileSystemEvent::write, queue);
        source->setEventHandler([this] {
            std::set<std::string> names;
            for (const auto& entry : fs::directory_iterator(folder))
                names.insert(entry.path().filename());
            std::lock_guard lock(mutex);
            calls.push_back(std::move(names));
            seen = source->data();
            changed.notify_all();
        });
        source->setCancelHandler([this] {
            std::lock_guard lock(mutex);
            closed = ::close(descriptor) == 0;
            changed.notify_all();
        });
        source->resume();
    }
    // Bounded: events come from another thread.
    bool wait(const std::function<bool()>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), done);
    }
    bool aCallSees(const std::set<std::string>& names) {
        return wait([&] { return !calls.empty() && calls.back() == names; });
    }
    // Until the source has read every event waiting on its descriptor and handled what it read.
    bool eventsHandled() {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        pollfd waiting{descriptor, POLLIN, 0};
        while (::poll(&waiting, 1, 0) > 0) {
            if (std::chrono::steady_clock::now() > limit) return false;
            std::this_thread::yield();
        }
        queue.sync([] {});
        return true;
    }
    void TearDown() override {
        if (!source) return;
        source->cancel();
        EXPECT_TRUE(wait([&] { return closed; }));
    }
};

void touch(const fs::path& path, std::string_view text = {}) {
    std::ofstream(path) << text;
}

} // namespace

TEST_F(FolderSourceTest, AWriteInsideAFileIsNoWriteOfTheFolder) {
    touch(folder / "existing");
    watch();
    touch(folder / "existing", "more text");
    ASSERT_TRUE(eventsHandled()); // so a call for the write would come before the sentinel's
    touch(folder / "sentinel");
    ASSERT_TRUE(aCallSees({"existing", "sentinel"}));
    std::lock_guard lock(mutex);
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(seen, FileSystemEvent::write);
}

TEST(FolderSourceQueueTest, EventsWaitingForTheQueueMakeOneCall) {
    testing_support::TemporaryFolder temporary;
    const int descriptor = openEventOnly(temporary.path().c_str());
    ASSERT_GE(descriptor, 0);
    auto source =
        DispatchSource::makeFileSystemObjectSource(descriptor, FileSystemEvent::write, DispatchQueue::main());
    int calls = 0;
    source->setEventHandler([&] { ++calls; });
    source->resume();
    for (int i = 0; i < 50; ++i)
        touch(temporary.path() / std::to_string(i));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return calls >= 1; }, 5.0));
    RunLoop::main().runUntilIdle();
    EXPECT_LT(calls, 50);
    bool closed = false;
    source->setCancelHandler([&] { closed = ::close(descriptor) == 0; });
    source->cancel();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return closed; }, 5.0));
}

TEST_F(FolderSourceTest, NoEventHandlerAfterCancelAndTheCancelHandlerRunsOnceAfterARunningOne) {
    DispatchQueue queue("test", DispatchQueue::Attributes::concurrent);
    descriptor = openEventOnly(folder.c_str());
    ASSERT_GE(descriptor, 0);
    auto watched = DispatchSource::makeFileSystemObjectSource(descriptor, FileSystemEvent::write, queue);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> log;
    bool release = false;
    const auto record = [&](std::string entry) {
        std::lock_guard lock(mutex);
        log.push_back(std::move(entry));
        changed.notify_all();
    };
    watched->setEventHandler([&] {
        record("event");
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return release; });
        log.push_back("event ends");
    });
    watched->setCancelHandler([&] { record("cancel"); });
    watched->resume();
    touch(folder / "a");
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return !log.empty(); }));
    }
    watched->cancel();
    watched->cancel();
    EXPECT_TRUE(watched->isCancelled());
    touch(folder / "b"); // after cancel: never delivered
    {
        std::unique_lock lock(mutex);
        EXPECT_EQ(log, (std::vector<std::string>{"event"}));
        release = true;
        changed.notify_all();
        ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(5), [&] { return log.size() == 3; }));
        EXPECT_EQ(log, (std::vector<std::string>{"event", "event ends", "cancel"}));
    }
    watched.reset();
    ::close(descriptor);
    EXPECT_EQ(log.size(), 3u);
}

TEST(EventOnlyDescriptorTest, AMissingPathCannotBeWatched) {
    testing_support::TemporaryFolder temporary;
    errno = 0;
    EXPECT_EQ(openEventOnly((temporary.path() / "missing").c_str()), -1);
    EXPECT_EQ(errno, ENOENT);
}
