#include "DemoScreen.h"
#include "VirtualScreen.h"

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

const std::filesystem::path referenceImage = std::filesystem::path(UI_REFERENCE_FOLDER) / "demo-screen.png";

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xffffff;
}

class VirtualScreen : public testing_support::VirtualScreenFixture {
protected:
    Shown show(const std::filesystem::path& capture, int scale, std::vector<std::string> arguments = {}) {
        return run(WINDOW_CAPTURE_PATH, capture, scale, std::move(arguments));
    }
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
