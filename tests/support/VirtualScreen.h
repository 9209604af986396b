// A fixture with an X server of its own (Xvfb) for tests that show real windows and capture them.
#pragma once

#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

inline std::optional<std::string> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const auto candidate = std::filesystem::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

inline bool acceptsConnections(int display) {
    const std::string socketPath = "/tmp/.X11-unix/X" + std::to_string(display);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return connected;
}

// An X server of its own for one test: it picks a free display itself and says which.
class VirtualScreenFixture : public testing::Test {
protected:
    void SetUp() override {
        const auto xvfb = findProgram("Xvfb");
        if (!xvfb) GTEST_SKIP() << "Xvfb is not installed, so no window is shown on a screen";
        server_ = std::make_unique<testing_support::ChildProcess>(
            *xvfb, std::vector<std::string>{"-displayfd", "1", "-screen", "0", screenSize_, "-nolisten", "tcp"});
        ASSERT_TRUE(server_->isStarted());
        const auto line = server_->readLine(std::chrono::seconds(20));
        ASSERT_TRUE(line) << "Xvfb did not say which display it took";
        display_ = std::stoi(*line);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!acceptsConnections(display_)) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "Xvfb never accepted a connection";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const char* kept = std::getenv("QUORIL_TEST_TMP");
        captures_ = kept ? std::filesystem::path(kept) : folder_.path();
        std::filesystem::create_directories(captures_);
    }
    void TearDown() override {
        if (server_) server_->kill();
    }

    struct Shown {
        int status = -1;
        std::string output;
        int x = 0, y = 0, width = 0, height = 0;
    };
    // Runs `program` on this screen at `scale`, with `arguments` before the capture path; it
    // prints "window <x> <y> <width> <height>".
    Shown run(const std::string& program, const std::filesystem::path& capture, int scale,
              std::vector<std::string> arguments = {}) {
        std::filesystem::remove(capture);
        arguments.push_back(capture.string());
        testing_support::ScopedEnvironment displayName("DISPLAY", (":" + std::to_string(display_)).c_str());
        testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
        testing_support::ScopedEnvironment density("QT_SCALE_FACTOR", std::to_string(scale).c_str());
        testing_support::ChildProcess window(program, arguments);
        Shown shown;
        shown.output = window.readAll();
        shown.status = window.finish();
        std::sscanf(shown.output.c_str(), "window %d %d %d %d", &shown.x, &shown.y, &shown.width, &shown.height);
        return shown;
    }

    std::filesystem::path captures_;
    // The screen's size and depth, as Xvfb takes it; set before SetUp.
    std::string screenSize_ = "640x480x24";
    // The X display the server took (":N").
    std::string displayName() const { return ":" + std::to_string(display_); }

private:
    testing_support::TemporaryFolder folder_;
    std::unique_ptr<testing_support::ChildProcess> server_;
    int display_ = 0;
};

} // namespace testing_support
