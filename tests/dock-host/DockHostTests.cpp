// The dock host: finding and loading plug-in bundles, the real plug-in end to end, and the
// program's --snapshot.
#include "AnnouncingProgram.h"
#include "ChildProcess.h"
#include "TemporaryFolder.h"

#include "DockHost/PlugInLoader.h"

#include "desktop/ImageView.h"

#include "foundation/RunLoop.h"
#include "foundation/UserDefaults.h"
#include "graphics/Image.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testing_support::AnnouncingProgram;
using testing_support::TemporaryFolder;

namespace {

const fs::path builtPlugIn = fs::path(QUORIL_DOCK_PLUGIN_FOLDER) / "QuorilDockTilePlugin.docktileplugin";

void chooseIcon(const char* json) {
    foundation::UserDefaults::make("org.quoril.Quoril")->setObject(std::string(json), "dockIcon");
}

QImage shown(const dock::LoadedPlugIn& plugIn) {
    const auto view = std::dynamic_pointer_cast<desktop::ImageView>(plugIn.tile()->contentView());
    return view ? view->image().qImage() : QImage();
}

QImage icon(const dock::LoadedPlugIn& plugIn, const char* name) {
    return graphics::Image::named(*plugIn.bundle(), name).qImage();
}

} // namespace

TEST(PlugInLoaderTest, LoadsEachIdentifierOnceAndSkipsBrokenBundles) {
    chooseIcon("\"red\"");
    TemporaryFolder first, second;
    fs::copy(builtPlugIn, first.path() / builtPlugIn.filename(), fs::copy_options::recursive);
    fs::copy(builtPlugIn, second.path() / builtPlugIn.filename(), fs::copy_options::recursive);
    // Right identifier and functions, but no library.
    fs::create_directories(first.path() / "Broken.docktileplugin");
    fs::copy_file(builtPlugIn / "Info.plist", first.path() / "Broken.docktileplugin/Info.plist");
    std::ofstream(first.path() / "Stray.docktileplugin") << "a file, not a bundle";
    std::ofstream(first.path() / "Ignored.txt") << "not a plug-in at all";

    std::vector<std::string> diagnostics;
    auto plugIns = dock::loadPlugIns({first.path(), second.path(), first.path() / "missing"},
                                     [&](const std::string& message) { diagnostics.push_back(message); });
    ASSERT_EQ(plugIns.size(), 1u);
    EXPECT_EQ(plugIns[0]->identifier(), "org.quoril.Quoril.DockTilePlugin");
    EXPECT_EQ(plugIns[0]->bundle()->bundlePath().parent_path(), fs::canonical(first.path()));
    EXPECT_EQ(shown(*plugIns[0]), icon(*plugIns[0], "RedAppIcon"));

    auto mentions = [&](const std::string& text) {
        return std::count_if(diagnostics.begin(), diagnostics.end(),
                             [&](const std::string& d) { return d.find(text) != std::string::npos; });
    };
    EXPECT_EQ(mentions("Broken.docktileplugin: it holds no libBroken.so"), 1);
    EXPECT_EQ(mentions("Stray.docktileplugin: not a bundle folder"), 1);
    EXPECT_EQ(mentions("is loaded already"), 1);
    EXPECT_EQ(diagnostics.size(), 3u);
}

TEST(PlugInLoaderTest, SkipsBundlesWithoutIdentifierOrFunctions) {
    TemporaryFolder folder;
    fs::create_directories(folder.path() / "Nameless.docktileplugin");
    std::ofstream(folder.path() / "Nameless.docktileplugin/Info.plist") << "not a plist";
    // A library that is not a plug-in: the bundle's Info.plist names functions it lacks.
    fs::copy(builtPlugIn, folder.path() / "Wrong.docktileplugin", fs::copy_options::recursive);
    fs::rename(folder.path() / "Wrong.docktileplugin/libQuorilDockTilePlugin.so",
               folder.path() / "Wrong.docktileplugin/libWrong.so");
    std::ofstream(folder.path() / "Wrong.docktileplugin/libWrong.so", std::ios::trunc) << "not a library";

    std::vector<std::string> diagnostics;
    auto plugIns =
        dock::loadPlugIns({folder.path()}, [&](const std::string& m) { diagnostics.push_back(m); });
    EXPECT_TRUE(plugIns.empty());
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_NE(diagnostics[0].find("Nameless.docktileplugin: its Info.plist names no bundle identifier"),
              std::string::npos);
    EXPECT_NE(diagnostics[1].find("Wrong.docktileplugin: "), std::string::npos);
}

TEST(DockRoundTripTest, TheTileFollowsTheChoiceAtTheProgramsLaunchAndKill) {
    chooseIcon("\"red\"");
    std::string error;
    auto plugIn = dock::LoadedPlugIn::load(builtPlugIn, error);
    ASSERT_TRUE(plugIn) << error;
    EXPECT_EQ(shown(*plugIn), icon(*plugIn, "RedAppIcon"));
    const auto drawn = plugIn->tile()->displayCount();

    // The setting alone is not watched.
    chooseIcon("\"blue\"");
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(plugIn->tile()->displayCount(), drawn);
    EXPECT_EQ(shown(*plugIn), icon(*plugIn, "RedAppIcon"));

    auto program = AnnouncingProgram::start();
    ASSERT_GT(program.pid, 0);
    ASSERT_TRUE(
        foundation::RunLoop::main().runUntil([&] { return plugIn->tile()->displayCount() > drawn; }, 20));
    EXPECT_EQ(shown(*plugIn), icon(*plugIn, "BlueAppIcon"));

    chooseIcon("\"purple\"");
    program.process->kill();
    ASSERT_TRUE(
        foundation::RunLoop::main().runUntil([&] { return plugIn->tile()->displayCount() > drawn + 1; }, 20));
    EXPECT_EQ(shown(*plugIn), icon(*plugIn, "PurpleAppIcon"));
}

TEST(DockSnapshotTest, DrawsTheChosenColourIntoThePNG) {
    chooseIcon("\"blue\"");
    TemporaryFolder folder;
    const auto file = folder.path() / "tiles.png";
    testing_support::ChildProcess host(QUORIL_DOCK_PATH, {"--snapshot", file.string()});
    ASSERT_EQ(host.finish(), 0);
    const QImage image(QString::fromStdString(file.string()));
    ASSERT_EQ(image.size(), QSize(256, 256)); // one tile of 128 points at two pixels a point
    // Left of the mark, at mid-height: the rounded square's own colour.
    const QColor background = image.pixelColor(48, 128);
    EXPECT_NEAR(background.red(), 47, 12);
    EXPECT_NEAR(background.green(), 125, 12);
    EXPECT_NEAR(background.blue(), 225, 12);
    EXPECT_EQ(image.pixelColor(2, 2).alpha(), 0);
}
