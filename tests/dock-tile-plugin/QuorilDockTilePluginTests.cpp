// The plug-in's principal class against a temporary suite of the goal-list program and the
// shared workspace's notification centre (posted to directly, so deliveries are synchronous).
#include "QuorilDockTilePlugin/QuorilDockTilePlugin.h"
#include "TemporaryFolder.h"

#include "desktop/DockTile.h"
#include "desktop/ImageView.h"
#include "desktop/RunningApplication.h"
#include "desktop/Workspace.h"

#include "foundation/UserDefaults.h"
#include "graphics/Image.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace desktop;

namespace {

const std::string appIdentifier = "org.quoril.Quoril";

std::filesystem::path suiteFile() {
    return std::filesystem::path(std::getenv("XDG_CONFIG_HOME")) / (appIdentifier + ".plist");
}

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class QuorilDockTilePluginTest : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove(suiteFile()); }

    void store(const foundation::PropertyList& value) {
        foundation::UserDefaults::make(appIdentifier)->setObject(value, "dockIcon");
    }

    // The image the tile shows, or the null image.
    static QImage shown(const DockTile& tile) {
        const auto view = std::dynamic_pointer_cast<ImageView>(tile.contentView());
        return view ? view->image().qImage() : QImage();
    }
    QImage icon(const char* name) const {
        return graphics::Image::named(*plugin->dockTilePluginBundle(), name).qImage();
    }

    void post(std::string_view name, foundation::UserInfo userInfo) {
        Workspace::sharedWorkspace().notificationCenter().post(std::string(name), nullptr,
                                                               std::move(userInfo));
    }
    static foundation::UserInfo about(std::optional<std::string> identifier, pid_t pid = 4242) {
        return {{std::string(NSWorkspaceApplicationKey), RunningApplication{std::move(identifier), pid}}};
    }

    std::shared_ptr<QuorilDockTilePlugin> plugin = std::make_shared<QuorilDockTilePlugin>();
    std::shared_ptr<DockTile> tile = std::make_shared<DockTile>();
};

} // namespace

TEST_F(QuorilDockTilePluginTest, ReadsTheProgramsSuiteAndItsOwnBundle) {
    EXPECT_EQ(plugin->appBundleID(), appIdentifier);
    ASSERT_NE(plugin->dockTilePluginBundle(), nullptr);
    EXPECT_EQ(plugin->dockTilePluginBundle()->bundlePath().filename(), "QuorilDockTilePlugin.docktileplugin");
    EXPECT_EQ(plugin->dockMenu(), nullptr);
}

TEST_F(QuorilDockTilePluginTest, ShowsTheChoiceAndRedForAnythingElse) {
    ASSERT_FALSE(icon("RedAppIcon").isNull());
    plugin->setDockTile(tile);
    EXPECT_EQ(shown(*tile), icon("RedAppIcon")); // never written
    EXPECT_EQ(tile->displayCount(), 1u);

    store("\"blue\"");
    plugin->updateDockTile(*tile);
    EXPECT_EQ(shown(*tile), icon("BlueAppIcon"));

    for (const foundation::PropertyList& stored :
         {foundation::PropertyList("blue"), foundation::PropertyList("\"pink\""), foundation::PropertyList(3),
          foundation::PropertyList("\"Blue\"")}) {
        store(stored);
        plugin->updateDockTile(*tile);
        EXPECT_EQ(shown(*tile), icon("RedAppIcon"));
    }
}

TEST_F(QuorilDockTilePluginTest, CorruptSuiteReadsAsRedAndIsLeftAsItIs) {
    std::filesystem::create_directories(suiteFile().parent_path());
    std::ofstream(suiteFile(), std::ios::binary) << "bplist00 this is not a property list";
    const std::string before = fileBytes(suiteFile());
    plugin->setDockTile(tile);
    EXPECT_EQ(shown(*tile), icon("RedAppIcon"));
    EXPECT_EQ(fileBytes(suiteFile()), before);
}

TEST_F(QuorilDockTilePluginTest, RedrawsOnlyForTheProgramsOwnLaunchesAndTerminations) {
    plugin->setDockTile(tile);
    const auto drawn = tile->displayCount();
    post(NSWorkspaceDidLaunchApplicationNotification, about("org.example.Other"));
    post(NSWorkspaceDidLaunchApplicationNotification, {});
    post(NSWorkspaceDidLaunchApplicationNotification,
         {{std::string(NSWorkspaceApplicationKey), appIdentifier}});
    post(NSWorkspaceDidTerminateApplicationNotification, about(std::nullopt));
    post(NSWorkspaceDidTerminateApplicationNotification, about("org.quoril.quoril")); // exact text only
    EXPECT_EQ(tile->displayCount(), drawn);

    store("\"green\"");
    post(NSWorkspaceDidLaunchApplicationNotification, about(appIdentifier));
    EXPECT_EQ(tile->displayCount(), drawn + 1);
    EXPECT_EQ(shown(*tile), icon("GreenAppIcon"));
    post(NSWorkspaceDidLaunchApplicationNotification, about(appIdentifier)); // equal to the one before
    EXPECT_EQ(tile->displayCount(), drawn + 1);
    post(NSWorkspaceDidLaunchApplicationNotification, about(appIdentifier, 4343));
    post(NSWorkspaceDidTerminateApplicationNotification, about(appIdentifier, 4343));
    EXPECT_EQ(tile->displayCount(), drawn + 3);
}

TEST_F(QuorilDockTilePluginTest, TakingTheTileAwayEndsTheRedrawsAndASecondTileReplacesTheFirst) {
    plugin->setDockTile(nullptr); // before any tile: nothing to end
    EXPECT_EQ(tile->displayCount(), 0u);

    plugin->setDockTile(tile);
    auto second = std::make_shared<DockTile>();
    plugin->setDockTile(second);
    post(NSWorkspaceDidTerminateApplicationNotification, about(appIdentifier));
    EXPECT_EQ(tile->displayCount(), 1u);
    EXPECT_EQ(second->displayCount(), 2u);

    plugin->setDockTile(nullptr);
    post(NSWorkspaceDidLaunchApplicationNotification, about(appIdentifier));
    EXPECT_EQ(second->displayCount(), 2u);
}

TEST_F(QuorilDockTilePluginTest, DestroyingTheInstanceEndsItsSubscriptionsAndReleasesTheTile) {
    plugin->setDockTile(tile);
    const std::weak_ptr<DockTile> watched = tile;
    tile.reset();
    plugin.reset();
    EXPECT_TRUE(watched.expired()); // no subscription is left holding it
}

TEST_F(QuorilDockTilePluginTest, MissingImageLeavesTheTileAsItWas) {
    // A copy of the bundle without the blue images, loaded on its own.
    testing_support::TemporaryFolder folder;
    const auto original = plugin->dockTilePluginBundle()->bundlePath();
    const auto copy = folder.path() / original.filename();
    std::filesystem::copy(original, copy, std::filesystem::copy_options::recursive);
    std::filesystem::remove(copy / "Resources/BlueAppIcon.png");
    std::filesystem::remove(copy / "Resources/BlueAppIcon@2x.png");
    void* library = dlopen((copy / "libQuorilDockTilePlugin.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto create =
        reinterpret_cast<DockTilePlugInCreateFunction>(dlsym(library, "QuorilDockTilePluginCreate"));
    auto destroy =
        reinterpret_cast<DockTilePlugInDestroyFunction>(dlsym(library, "QuorilDockTilePluginDestroy"));
    ASSERT_TRUE(create && destroy);
    DockTilePlugIn* loaded = create();

    loaded->setDockTile(tile);
    const QImage red = shown(*tile);
    EXPECT_EQ(red, icon("RedAppIcon"));
    store("\"blue\"");
    post(NSWorkspaceDidLaunchApplicationNotification, about(appIdentifier));
    EXPECT_EQ(tile->displayCount(), 1u);
    EXPECT_EQ(shown(*tile), red);
    store("\"purple\"");
    post(NSWorkspaceDidTerminateApplicationNotification, about(appIdentifier));
    EXPECT_EQ(shown(*tile), icon("PurpleAppIcon")); // the next one tries again

    loaded->setDockTile(nullptr);
    destroy(loaded);
    EXPECT_EQ(dlclose(library), 0);
}
