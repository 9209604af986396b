// Launch and termination notifications from programs that announce themselves.
#include "AnnouncingProgram.h"

#include "desktop/RunningApplication.h"
#include "desktop/Workspace.h"

#include "foundation/RunLoop.h"
#include "reactive/NotificationPublisher.h"
#include "reactive/Sink.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

using namespace desktop;
using testing_support::AnnouncingProgram;

namespace {

constexpr const char* standInIdentifier = "org.quoril.Quoril";

// Every launch and termination the shared workspace posts, in order.
struct Recorder {
    std::vector<foundation::Notification> seen;
    std::vector<reactive::AnyCancellable> subscriptions;

    Recorder() {
        auto& center = Workspace::sharedWorkspace().notificationCenter();
        for (auto name :
             {NSWorkspaceDidLaunchApplicationNotification, NSWorkspaceDidTerminateApplicationNotification})
            subscriptions.push_back(
                reactive::publisher(center, std::string(name))
                    .sink([this](const foundation::Notification& n) { seen.push_back(n); }));
    }

    const RunningApplication* application(const foundation::Notification& notification) const {
        const auto entry = notification.userInfo.find(std::string(NSWorkspaceApplicationKey));
        return entry == notification.userInfo.end() ? nullptr : entry->second.get<RunningApplication>();
    }
    // Those about `pid`; earlier tests' programs may still be arriving.
    std::vector<foundation::Notification> about(std::string_view name, pid_t pid) const {
        std::vector<foundation::Notification> found;
        for (const auto& notification : seen) {
            const auto* app = application(notification);
            if (notification.name == name && app && app->processIdentifier == pid)
                found.push_back(notification);
        }
        return found;
    }
    std::size_t count(std::string_view name, pid_t pid) const { return about(name, pid).size(); }
    // Runs the main loop, bounded, until such a notification arrived.
    bool waitFor(std::string_view name, pid_t pid) {
        return foundation::RunLoop::main().runUntil([&] { return count(name, pid) > 0; }, 20);
    }
};

} // namespace

TEST(WorkspaceTest, ProgramStartedLaterIsLaunchedAndItsKillIsATermination) {
    Recorder recorder;
    // A stray file in the folder is no program.
    std::ofstream(std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "quoril/running/junk")
        << "not a pid\n";

    auto program = AnnouncingProgram::start();
    ASSERT_GT(program.pid, 0);
    ASSERT_TRUE(recorder.waitFor(NSWorkspaceDidLaunchApplicationNotification, program.pid));
    const auto launch = recorder.about(NSWorkspaceDidLaunchApplicationNotification, program.pid).front();
    EXPECT_EQ(*recorder.application(launch), (RunningApplication{standInIdentifier, program.pid}));
    EXPECT_NE(launch.object, nullptr);

    program.process->kill();
    ASSERT_TRUE(recorder.waitFor(NSWorkspaceDidTerminateApplicationNotification, program.pid));
    const auto termination =
        recorder.about(NSWorkspaceDidTerminateApplicationNotification, program.pid).front();
    EXPECT_EQ(termination.userInfo, launch.userInfo);
    EXPECT_EQ(termination.object, launch.object);
}

TEST(WorkspaceTest, OrderlyExitIsOneTermination) {
    Recorder recorder;
    auto first = AnnouncingProgram::start();
    ASSERT_TRUE(recorder.waitFor(NSWorkspaceDidLaunchApplicationNotification, first.pid));
    ::kill(first.pid, SIGTERM);
    EXPECT_EQ(first.process->finish(), 0);
    ASSERT_TRUE(recorder.waitFor(NSWorkspaceDidTerminateApplicationNotification, first.pid));

    // By the time a later program is seen, a second termination of the first would have come.
    auto second = AnnouncingProgram::start();
    ASSERT_TRUE(recorder.waitFor(NSWorkspaceDidLaunchApplicationNotification, second.pid));
    EXPECT_EQ(recorder.count(NSWorkspaceDidTerminateApplicationNotification, first.pid), 1u);
    EXPECT_EQ(recorder.count(NSWorkspaceDidLaunchApplicationNotification, first.pid), 1u);
}

TEST(WorkspaceDeathTest, ProgramsRunningBeforeTheWorkspaceGetNoLaunch) {
    // In a child of its own, so that this process's workspace does not exist yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto before = AnnouncingProgram::start();
            Recorder recorder;
            auto after = AnnouncingProgram::start();
            const bool seen = recorder.waitFor(NSWorkspaceDidLaunchApplicationNotification, after.pid);
            before.process->kill();
            const bool ended = recorder.waitFor(NSWorkspaceDidTerminateApplicationNotification, before.pid);
            const bool ok = before.pid > 0 && seen && ended &&
                            recorder.count(NSWorkspaceDidLaunchApplicationNotification, before.pid) == 0;
            after.process->kill(); // it would hold the death test's pipe open
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
