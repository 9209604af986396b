#include "VirtualScreen.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

class ShellScreen : public testing_support::VirtualScreenFixture {};

int lightness(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)).lightness();
}

} // namespace

TEST_F(ShellScreen, AWindowGroupWithAToolbarShowsItsTitleAreaAboveTheContent) {
    const auto capture = captures_ / "shell-window.png";
    const Shown shown = run(SHELL_CAPTURE_PATH, capture, 1);
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_EQ(shown.width, 400);
    EXPECT_EQ(shown.height, 350 + 52);
    const QImage screen(QString::fromStdString(capture.string()));
    ASSERT_FALSE(screen.isNull());
    // Centred on the 640×480 screen (the menu bar above the content counts towards the window).
    EXPECT_NEAR(shown.x + shown.width / 2, 320, 2);
    const QImage window = screen.copy(shown.x, shown.y, shown.width, shown.height);
    // Dark content; the separator under the title area is lighter than what lies around it.
    EXPECT_LT(lightness(window, 200, 200), 100);
    EXPECT_GT(lightness(window, 200, 51), lightness(window, 200, 60));
    // The items' labels stand at the trailing end of the title area.
    int lit = 0;
    for (int x = 200; x < 400; ++x)
        for (int y = 10; y < 42; ++y)
            if (lightness(window, x, y) > 160) ++lit;
    EXPECT_GT(lit, 50) << "compare " << capture;
}

TEST_F(ShellScreen, AListBesideAFormShowsItsRowsTheSelectionAndTheFormsControls) {
    const auto capture = captures_ / "sample-window.png";
    const Shown shown = run(SHELL_CAPTURE_PATH, capture, 1, {"--sample"});
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_EQ(shown.width, 600);
    EXPECT_EQ(shown.height, 360 + 52);
    const QImage screen(QString::fromStdString(capture.string()));
    ASSERT_FALSE(screen.isNull());
    const QImage window = screen.copy(shown.x, shown.y, shown.width, shown.height);
    EXPECT_LT(lightness(window, 400, 380), 100) << "dark content, compare " << capture;
    // One row of the list's column, and only one, is in the accent colour: the selection.
    int selected = 0;
    for (int y = 52; y < shown.height; ++y) {
        const QColor c(window.pixel(100, y));
        if (c.blue() - c.red() > 60) ++selected;
    }
    EXPECT_GT(selected, 16) << "compare " << capture;
    EXPECT_LT(selected, 32) << "compare " << capture;
    // The list's rows and the form's labels are light text on the dark ground.
    auto litIn = [&](QRect area) {
        int lit = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y)
                if (lightness(window, x, y) > 160) ++lit;
        return lit;
    };
    EXPECT_GT(litIn(QRect(0, 52, 200, 150)), 200) << "the rows, compare " << capture;
    EXPECT_GT(litIn(QRect(220, 60, 60, 30)), 30) << "the first label, compare " << capture;
    EXPECT_GT(litIn(QRect(300, 10, 300, 32)), 40) << "the toolbar's buttons (their icons), compare " << capture;
}
