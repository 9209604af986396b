// The standard dialog on a real X screen.
#include "VirtualScreen.h"

#include <QColor>
#include <QImage>

namespace {

using UpdateDialogScreen = testing_support::VirtualScreenFixture;

TEST_F(UpdateDialogScreen, TheFoundUpdateDialogShowsItsTextNotesAndButtons) {
    const auto capture = captures_ / "update-dialog.png";
    const Shown shown = run(UPDATE_DIALOG_CAPTURE_PATH, capture, 1);
    ASSERT_EQ(shown.status, 0) << shown.output;
    EXPECT_GT(shown.width, 380);
    EXPECT_GT(shown.height, 250);
    const QImage screen(QString::fromStdString(capture.string()));
    ASSERT_FALSE(screen.isNull());
    const QImage dialog = screen.copy(shown.x, shown.y, shown.width, shown.height);
    // Dark text on the light dialog: in the heading's band, in the notes box, and on the buttons.
    auto darkIn = [&](QRect area) {
        int dark = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y = area.top(); y <= area.bottom(); ++y)
                if (QColor(dialog.pixel(x, y)).lightness() < 90) ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(QRect(100, 15, 250, 30)), 40) << "the heading, compare " << capture;
    EXPECT_GT(darkIn(QRect(80, 105, 300, 40)), 40) << "the notes, compare " << capture;
    EXPECT_GT(darkIn(QRect(shown.width / 2, shown.height - 45, shown.width / 2 - 20, 35)), 30)
        << "the buttons, compare " << capture;
}

} // namespace
