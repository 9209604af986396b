// The list gallery in a real window, scrolled by real wheel events, with a focused editor.
#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "VirtualScreen.h"

#include <QImage>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sstream>
#include <string>

namespace {

using ListGalleryScreen = testing_support::VirtualScreenFixture;

struct Point {
    int x = -1, y = -1;
};

Point pointFrom(const std::optional<std::string>& line, const char* name) {
    Point p;
    if (line) std::sscanf(line->c_str(), (std::string(name) + " %d %d").c_str(), &p.x, &p.y);
    return p;
}

void xdotool(std::vector<std::string> arguments) {
    testing_support::ChildProcess tool(testing_support::findProgram("xdotool").value_or("xdotool"), arguments);
    tool.readAll(std::chrono::seconds(20));
    tool.finish(std::chrono::seconds(5));
}

} // namespace

TEST_F(ListGalleryScreen, TheWheelScrollsTheShelfAndTheFocusedEditorKeepsItsFrame) {
    ASSERT_TRUE(testing_support::findProgram("xdotool")) << "xdotool is in scripts/install-deps";
    const auto capture = captures_ / "viewkit-list-gallery-window.png";
    testing_support::ScopedEnvironment display("DISPLAY", displayName().c_str());
    testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    testing_support::ChildProcess window(VIEWKIT_LIST_GALLERY_WINDOW_PATH, {capture.string()});
    const auto geometry = window.readLine(std::chrono::seconds(30));
    ASSERT_TRUE(geometry) << "the window never showed";
    const Point shelf = pointFrom(window.readLine(), "shelf");
    const Point editor = pointFrom(window.readLine(), "editor");
    ASSERT_GE(shelf.x, 0);
    ASSERT_GE(editor.x, 0);

    // Without a window manager the keyboard goes where the focus is set.
    xdotool({"mousemove", "--sync", std::to_string(editor.x), std::to_string(editor.y)});
    xdotool({"search", "--sync", "--onlyvisible", "--classname", "viewkit_list_gallery_window", "windowfocus", "--sync"});
    xdotool({"click", "1"});
    // A vertical wheel over the shelf moves its row sideways.
    xdotool({"mousemove", "--sync", std::to_string(shelf.x), std::to_string(shelf.y), "click", "--repeat", "3",
             "--delay", "50", "5"});
    window.signal(SIGUSR1);
    const std::string output = window.readAll(std::chrono::seconds(30));
    ASSERT_EQ(window.finish(), 0) << output;
    std::istringstream lines(output);
    std::string line;
    Point moved;
    bool focused = false;
    while (std::getline(lines, line)) {
        if (line.rfind("shelf", 0) == 0) moved = pointFrom(line, "shelf");
        if (line == "focused 1") focused = true;
    }
    EXPECT_LT(moved.x, shelf.x) << "the shelf scrolled, compare " << capture;
    EXPECT_TRUE(focused) << output << "compare " << capture;
    EXPECT_FALSE(QImage(QString::fromStdString(capture.string())).isNull());
}
