#include "ProgramHostFixture.h"
#include "desktop/SceneWindow.h"
#include "ui/HostingWindow.h"

#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace {

class SettingsWindowTest : public quoriltest::ProgramHostTest {
protected:
    ui::HostingWindow& settings() { return host->settingsWindow()->hostingWindow(); }
    bool shows(std::string_view text) { return findText(settings().graph(), text) != nullptr; }
    // Clicks the tab titled `title` in the tab bar, as a user would.
    void choose(std::string_view title) {
        const ui::Element* tab = findText(settings().graph(), title);
        ASSERT_NE(tab, nullptr) << title;
        const auto frame = tab->globalFrame();
        QTest::mouseClick(&settings(), Qt::LeftButton, Qt::NoModifier, QPoint(int(frame.midX()), int(frame.midY())));
        host->updateNow();
    }
};

} // namespace

TEST_F(SettingsWindowTest, ItIs600WideOnEveryTabAsHighAsTheTabAndKeepsTheTabWhenReopened) {
    startProgram();
    host->openSettings();
    ASSERT_TRUE(settle([&] { return host->settingsWindow() && host->settingsWindow()->isVisible(); }));
    EXPECT_TRUE(shows("Burn accomplished goals:"));
    EXPECT_EQ(settings().width(), 600);
    const int general = settings().height();

    choose("Appearance");
    ASSERT_TRUE(settle([&] { return shows("Dock Icon"); }));
    ASSERT_TRUE(settle([&] { return settings().height() != general; })) << "the height follows the tab";
    EXPECT_EQ(settings().width(), 600);
    const int appearance = settings().height();

    choose("Updates");
    ASSERT_TRUE(settle([&] { return shows("Frequency:"); }));
    ASSERT_TRUE(settle([&] { return settings().height() != appearance; }));
    EXPECT_EQ(settings().width(), 600);

    choose("Appearance");
    host->settingsWindow()->close();
    ASSERT_TRUE(settle([&] { return host->settingsWindow() == nullptr; }));
    host->openSettings();
    ASSERT_TRUE(settle([&] { return host->settingsWindow() && host->settingsWindow()->isVisible(); }));
    EXPECT_TRUE(shows("Dock Icon")) << "the tab chosen last";
    EXPECT_EQ(settings().height(), appearance);
}
