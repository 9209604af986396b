// A reorderable list in a real window, dragged with the pointer of an X server.
#include "ChildProcess.h"
#include "ScopedEnvironment.h"
#include "VirtualScreen.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using ReorderableListScreen = testing_support::VirtualScreenFixture;

void xdotool(std::vector<std::string> arguments) {
    testing_support::ChildProcess tool(testing_support::findProgram("xdotool").value_or("xdotool"),
                                       arguments);
    tool.readAll(std::chrono::seconds(20));
    tool.finish(std::chrono::seconds(5));
}

void moveTo(int x, int y) {
    xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

// Moves in steps of at most 6 points, as a hand would.
void glide(int& x, int& y, int toX, int toY) {
    while (x != toX || y != toY) {
        x += std::clamp(toX - x, -6, 6);
        y += std::clamp(toY - y, -6, 6);
        moveTo(x, y);
    }
}

struct Report {
    std::string order, active, opacity, capture;
};

Report report(testing_support::ChildProcess& window) {
    window.signal(SIGUSR1);
    Report out;
    while (auto line = window.readLine(std::chrono::seconds(30))) {
        auto rest = [&](const std::string& key) { return line->substr(key.size() + 1); };
        if (line->rfind("order", 0) == 0) out.order = rest("order");
        if (line->rfind("active", 0) == 0) out.active = rest("active");
        if (line->rfind("opacity", 0) == 0) out.opacity = rest("opacity");
        if (line->rfind("captured", 0) == 0) {
            out.capture = rest("captured");
            break;
        }
    }
    return out;
}

} // namespace

TEST_F(ReorderableListScreen, DraggedRowsReorderTheCallersGoalsAndEveryDragEndsIdle) {
    ASSERT_TRUE(testing_support::findProgram("xdotool")) << "xdotool is in scripts/install-deps";
    testing_support::ScopedEnvironment display("DISPLAY", displayName().c_str());
    testing_support::ScopedEnvironment platform("QT_QPA_PLATFORM", "xcb");
    for (const std::string scheme : {"light", "dark"}) {
        SCOPED_TRACE(scheme);
        const auto prefix = captures_ / ("viewkit-reorderable-list-" + scheme);
        testing_support::ChildProcess window(VIEWKIT_REORDERABLE_LIST_WINDOW_PATH, {prefix.string(), scheme});
        int left = 0, top = 0, width = 0, height = 0;
        const auto geometry = window.readLine(std::chrono::seconds(30));
        ASSERT_TRUE(geometry) << "the window never showed";
        std::sscanf(geometry->c_str(), "window %d %d %d %d", &left, &top, &width, &height);
        std::map<int, std::pair<int, int>> rows;
        for (int i = 0; i < 6; ++i) {
            int index = -1, x = 0, y = 0;
            const auto line = window.readLine();
            ASSERT_TRUE(line);
            std::sscanf(line->c_str(), "row %d %d %d", &index, &x, &y);
            rows[index] = {x, y};
        }
        ASSERT_EQ(rows.size(), 6u);
        // Without a window manager the keyboard goes where the focus is set.
        xdotool({"search", "--sync", "--onlyvisible", "--classname", "viewkit_reorderable_list_window",
                 "windowfocus", "--sync"});

        // The first row down over the third and the fifth, looked at on the way.
        int x = rows[0].first, y = rows[0].second;
        moveTo(x, y);
        xdotool({"mousedown", "1"});
        // Off to the side a little, so the preview and the dimmed row both show.
        glide(x, y, x + 60, rows[2].second);
        const Report midway = report(window);
        EXPECT_EQ(midway.order, "2 3 1 4 5 6");
        EXPECT_EQ(midway.active, "1");
        EXPECT_EQ(midway.opacity, "0.50") << "the moved row, compare " << midway.capture;
        glide(x, y, x, rows[4].second);
        xdotool({"mouseup", "1"});
        const Report dropped = report(window);
        EXPECT_EQ(dropped.order, "2 3 4 5 1 6") << "compare " << dropped.capture;
        EXPECT_EQ(dropped.active, "none");
        EXPECT_EQ(dropped.opacity, "1.00");

        // The new first row down one row, then out of the window and released there.
        x = rows[0].first, y = rows[0].second;
        moveTo(x, y);
        xdotool({"mousedown", "1"});
        glide(x, y, x, rows[1].second);
        glide(x, y, left + width + 40, y);
        xdotool({"mouseup", "1"});
        const Report outside = report(window);
        EXPECT_EQ(outside.order, "3 2 4 5 1 6");
        EXPECT_EQ(outside.active, "none");
        EXPECT_EQ(outside.opacity, "1.00") << "compare " << outside.capture;

        // The last row up two rows, then Escape before the release.
        x = rows[5].first, y = rows[5].second;
        moveTo(x, y);
        xdotool({"mousedown", "1"});
        glide(x, y, x, rows[3].second);
        xdotool({"key", "Escape"});
        xdotool({"mouseup", "1"});
        const Report escaped = report(window);
        EXPECT_EQ(escaped.order, "3 2 4 6 5 1");
        EXPECT_EQ(escaped.active, "none");
        EXPECT_EQ(escaped.opacity, "1.00") << "compare " << escaped.capture;

        window.signal(SIGUSR2);
        const std::string rest = window.readAll(std::chrono::seconds(30));
        EXPECT_EQ(window.finish(), 0) << rest;
        EXPECT_FALSE(QImage(QString::fromStdString(midway.capture)).isNull());
    }
}
