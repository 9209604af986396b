// The program read and worked through a real accessibility bus, as a screen reader does.
#include "QuorilOnScreen.h"

#include <signal.h>

#include <filesystem>
#include <memory>
#include <optional>

using namespace programtest;

namespace {

class AssistiveTechnologyTest : public QuorilOnScreen {
protected:
    void SetUp() override {
        QuorilOnScreen::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const auto daemon = testing_support::findProgram("dbus-daemon");
        const std::filesystem::path launcher = "/usr/libexec/at-spi-bus-launcher";
        if (!daemon || !std::filesystem::exists(launcher) || !std::filesystem::exists(python))
            GTEST_SKIP() << "no session bus, accessibility bus launcher or Python here";
        // A session bus of this test's own, so nothing reaches the user's.
        bus_ = std::make_unique<testing_support::ChildProcess>(
            *daemon, std::vector<std::string>{"--session", "--nofork", "--print-address=1"});
        const auto address = bus_->readLine(std::chrono::seconds(10));
        if (!address || address->empty()) GTEST_SKIP() << "the session bus did not start";
        busAddress_.emplace("DBUS_SESSION_BUS_ADDRESS", address->c_str());
        // Qt speaks on the bus only when asked to, or when a screen reader is known to run.
        alwaysOn_.emplace("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        launcher_ = std::make_unique<testing_support::ChildProcess>(
            launcher.string(), std::vector<std::string>{"--launch-immediately"});
        if (!launcher_->isStarted()) GTEST_SKIP() << "the accessibility bus did not start";
    }
    void TearDown() override {
        QuorilOnScreen::TearDown();
        // Asked to end, the launcher takes the accessibility bus it started with it.
        if (launcher_ && launcher_->isStarted()) {
            launcher_->signal(SIGTERM);
            launcher_->finish(std::chrono::seconds(10));
        }
        launcher_.reset();
        bus_.reset();
        alwaysOn_.reset();
        busAddress_.reset();
    }

    static constexpr const char* python = "/usr/bin/python3";
    std::unique_ptr<testing_support::ChildProcess> bus_;
    std::unique_ptr<testing_support::ChildProcess> launcher_;
    std::optional<testing_support::ScopedEnvironment> busAddress_;
    std::optional<testing_support::ScopedEnvironment> alwaysOn_;
};

TEST_F(AssistiveTechnologyTest, AScreenReaderFindsTheNewGoalButtonPressesItAndSeesTheNewRow) {
    launch();
    ASSERT_FALSE(waitForWindow().empty());
    testing_support::ChildProcess reader(python, {ATSPI_SCRIPT_PATH});
    const std::string said = reader.readAll(std::chrono::seconds(90));
    const int status = reader.finish(std::chrono::seconds(10));
    if (status == 77) GTEST_SKIP() << said;
    EXPECT_EQ(status, 0) << said;
    EXPECT_NE(said.find("rows after: 1"), std::string::npos) << said;
}

} // namespace
