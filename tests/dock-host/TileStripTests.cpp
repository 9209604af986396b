#include "DockHost/LoadedPlugIn.h"
#include "DockHost/TileStrip.h"

#include "desktop/RunningApplication.h"
#include "desktop/Workspace.h"

#include "foundation/UserDefaults.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>

TEST(TileStripTest, DrawsWhatTheTileShowsNow) {
    static int argc = 1;
    static char name[] = "dock_host_tests";
    static char* argv[] = {name, nullptr};
    static auto* app = new QApplication(argc, argv);
    (void)app;

    const auto suite = foundation::UserDefaults::make("org.quoril.Quoril");
    suite->setObject(std::string("\"red\""), "dockIcon");
    std::string error;
    std::vector<std::unique_ptr<dock::LoadedPlugIn>> plugIns;
    plugIns.push_back(dock::LoadedPlugIn::load(
        std::filesystem::path(QUORIL_DOCK_PLUGIN_FOLDER) / "QuorilDockTilePlugin.docktileplugin", error));
    ASSERT_TRUE(plugIns.back()) << error;

    dock::TileStrip window(plugIns);
    EXPECT_EQ(window.size(), QSize(128, 128));
    // Left of the mark, at mid-height: the icon's own colour.
    EXPECT_GT(window.grab().toImage().pixelColor(24, 64).red(), 200);

    suite->setObject(std::string("\"green\""), "dockIcon");
    desktop::Workspace::sharedWorkspace().notificationCenter().post(
        std::string(desktop::NSWorkspaceDidLaunchApplicationNotification), nullptr,
        {{std::string(desktop::NSWorkspaceApplicationKey),
          desktop::RunningApplication{"org.quoril.Quoril", 77}}});
    QCoreApplication::processEvents();
    const QColor green = window.grab().toImage().pixelColor(24, 64);
    EXPECT_LT(green.red(), 100);
    EXPECT_GT(green.green(), 150);
}
