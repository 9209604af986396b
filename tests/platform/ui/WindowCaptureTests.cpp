#include "ChildProcess.h"
#include "DemoScreen.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const std::filesystem::path referenceImage =
    std::filesystem::path(__FILE__).parent_path() / "reference" / "demo-screen.png";

std::optional<std::string> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const auto candidate = std::filesystem::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

bool acceptsConnections(int display) {
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

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xffffff;
}

// An X server of its own for one test: it picks a free display itself and says which.
class VirtualScreen : public testing::Test {
protected:
    void SetUp() override {
        const auto xvfb = findProgram("Xvfb");
        if (!xvfb) GTEST_SKIP() << "Xvfb is not installed, so no window is shown on a screen";
        server_ = std::make_unique<testing_support::ChildProcess>(
            *xvfb, std::vector<std::string>{"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
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
    // Runs the capture program on this screen at `scale`, with `arguments` before the capture path.
    Shown show(const std::filesystem::path& capture, int scale, std::vector<std::string> arguments = {}) {
        std::filesystem::remove(capture);
        arguments.push_back(capture.string());
        testing_support::ScopedEnvironment displayName("DISPLAY", (":" + std::to_string(display_)).c_str());
        testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
        testing_support::ScopedEnvironment density("QT_SCALE_FACTOR", std::to_string(scale).c_str());
        testing_support::ChildProcess window(WINDOW_CAPTURE_PATH, arguments);
        Shown shown;
        shown.output = window.readAll();
        shown.status = window.finish();
        std::sscanf(shown.output.c_str(), "window %d %d %d %d", &shown.x, &shown.y, &shown.width, &shown.height);
        return shown;
    }

    std::filesystem::path captures_;

private:
    testing_support::TemporaryFolder folder_;
    std::unique_ptr<testing_support::ChildProcess> server_;
    int display_ = 0;
};

TEST_F(VirtualScreen, AHostingWindowShowsItsViewAndTheMainQueueRuns) {
    // Once at the screen's own density and once at twice it, where every edge stays sharp.
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const auto capture = captures_ / ("hosting-window-capture@" + std::to_string(scale) + "x.png");
        const Shown shown = show(capture, scale);
        ASSERT_EQ(shown.status, 0) << shown.output;
        const int x = shown.x, y = shown.y, width = shown.width, height = shown.height;
        // 12 padding, three 60×40 boxes and a 40×20 widget 8 apart, a 244×30 bar below.
        EXPECT_EQ(width, 12 + 244 + 12);
        EXPECT_EQ(height, 12 + 40 + 8 + 30 + 12);
        const QImage image(QString::fromStdString(capture.string()));
        ASSERT_FALSE(image.isNull());
        // In the window's points, on the screen's pixels.
        auto pixel = [&](int px, int py) { return at(image, (x + px) * scale, (y + py) * scale); };
        EXPECT_EQ(pixel(12 + 30, 12 + 20), 0xff0000u);
        EXPECT_EQ(pixel(12 + 68 + 30, 12 + 20), 0x00ff00u);
        EXPECT_EQ(pixel(12 + 136 + 30, 12 + 20), 0x0000ffu);
        EXPECT_EQ(pixel(12 + 204 + 20, 12 + 20), 0xff00ffu); // the hosted widget, live
        EXPECT_EQ(pixel(130, 12 + 48 + 15), 0xffff00u);      // lit from the main queue
        EXPECT_NE(pixel(2, 2), 0xff0000u);                   // the padding is background
        // The red box's left edge falls between two screen pixels.
        EXPECT_EQ(at(image, (x + 12) * scale, (y + 30) * scale), 0xff0000u);
        EXPECT_NE(at(image, (x + 12) * scale - 1, (y + 30) * scale), 0xff0000u);
    }
}

TEST_F(VirtualScreen, TheDemoScreenInAWindowLooksAsTheTestHostRendersIt) {
    const auto capture = captures_ / "demo-screen-window.png";
    const Shown shown = show(capture, 1, {"--demo"});
    ASSERT_EQ(shown.status, 0) << shown.output;
    ASSERT_EQ(shown.width, 260);
    ASSERT_EQ(shown.height, 200);
    const QImage screen(QString::fromStdString(capture.string()));
    ASSERT_FALSE(screen.isNull());
    const QImage window = screen.copy(shown.x, shown.y, shown.width, shown.height);
    const QImage reference(QString::fromStdString(referenceImage.string()));
    ASSERT_FALSE(reference.isNull());
    EXPECT_LT(uitest::differingShare(window, reference), 0.01) << "compare " << capture << " with the reference";
}

} // namespace
