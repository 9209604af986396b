#include "App/PreferenceKeys.h"
#include "Views/SettingsView.h"

#include "Prefs/ValueAccess.h"
#include "QuorilShared/DockIconKey.h"
#include "TestUpdater.h"
#include "desktop/Application.h"
#include "foundation/Bundle.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "graphics/Image.h"
#include "ui/Tab.h"
#include "ui/TabView.h"
#include "ui/TestHost.h"
#include "ScopedEnvironment.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

using quoril::MacAppIcon;
using quoril::SettingsTab;

namespace {

// The settings window's content over a selection of the test's own.
struct SettingsHarness {
    std::shared_ptr<updater::SPUUpdater> updater;
    std::shared_ptr<std::optional<ui::State<SettingsTab>>> selection;
    ui::View body(ui::ViewContext& ctx) const {
        auto tab = ctx.state<SettingsTab>("tab", SettingsTab::general);
        *selection = tab;
        return quoril::SettingsView{tab.binding(), updater};
    }
};

class SettingsViewTest : public testing::Test {
protected:
    void SetUp() override {
        const auto& suite = foundation::UserDefaults::standard();
        for (const char* key : {"burnOnQuit", "burnAtEndOfDay", "dockIcon"})
            suite->removeObjectForKey(key);
        desktop::Application::shared().setApplicationIconImage(std::nullopt);
    }
    void TearDown() override { desktop::Application::shared().setApplicationIconImage(std::nullopt); }

    quoriltest::TestUpdater updates;
    std::shared_ptr<std::optional<ui::State<SettingsTab>>> selection =
        std::make_shared<std::optional<ui::State<SettingsTab>>>();
    ui::TestHost host{SettingsHarness{updates.updater, selection}, {600, 320}};

    void show(SettingsTab tab) {
        (*selection)->set(tab);
        host.update();
    }
    ui::Element* element(std::string_view text) {
        ui::Element* found = host.findByText(text);
        EXPECT_NE(found, nullptr) << text;
        return found;
    }
    void tap(std::string_view text) { host.tap(element(text)); }

    // The buttons whose ring shows, by their icon's identifier.
    std::vector<std::string> ringed() {
        std::vector<std::string> names;
        for (MacAppIcon icon : quoril::allMacAppIcons) {
            const auto button = ui::TestHost::frame(host.find(quoril::id(icon)));
            for (const ui::Element* shape : host.findAll([](const ui::Element& e) { return e.node().typeName() == "Shape"; }))
                if (button.contains(ui::TestHost::frame(shape))) names.push_back(quoril::id(icon));
        }
        return names;
    }
    static std::optional<QImage> applicationIcon() {
        const auto icon = desktop::Application::shared().applicationIconImage();
        return icon ? std::optional(icon->qImage()) : std::nullopt;
    }
    static QImage named(MacAppIcon icon) {
        return graphics::Image::named(*foundation::Bundle::main(), quoril::imageName(icon)).qImage();
    }

    // The picker's menu as shown: its entries and the one checked.
    std::vector<std::string> frequencyMenu() {
        host.tap(host.findByTypeName("Picker"));
        std::vector<std::string> entries;
        if (!host.popups().menu()) return entries;
        for (const auto& item : host.popups().menu()->items)
            entries.push_back(item.title + (item.isChecked ? " *" : ""));
        return entries;
    }

    static QString capturePath(const QString& name) {
        const char* folder = std::getenv("QUORIL_TEST_TMP");
        return QDir(folder ? QString(folder) : QDir::tempPath()).filePath(name);
    }
};

} // namespace

TEST_F(SettingsViewTest, EachTabRendersForALook) {
    host.update();
    host.renderPNG(capturePath("settings-general.png"), 2);
    show(SettingsTab::appearance);
    host.renderPNG(capturePath("settings-appearance.png"), 2);
    updates.updater->startUpdater();
    updates.updater->checkForUpdates();
    for (int i = 0; i < 100 && updates.driver->shown == 0; ++i)
        host.stepFrame();
    show(SettingsTab::updates);
    host.renderPNG(capturePath("settings-updates.png"), 2);
}

TEST_F(SettingsViewTest, TheTabBarShowsTheThreeTabsWithTheirSymbolsAndClickingOneSelectsIt) {
    host.update();
    const auto& defaults = foundation::UserDefaults::standard();
    EXPECT_EQ(defaults->objectForKey("accentColorMatchesDockIcon"), foundation::PropertyList(true))
        << "registered once the window is built; nothing reads it";
    EXPECT_EQ(defaults->objectForKey("dockIcon"), foundation::PropertyList(std::string("\"red\"")));

    const auto* tabView = host.findType<ui::TabView>();
    ASSERT_NE(tabView, nullptr);
    std::vector<std::string> symbols;
    for (const auto& tab : tabView->nodeAs<ui::detail::CustomViewNode<ui::TabView>>()->value().tabs)
        symbols.push_back(tab.systemImage);
    EXPECT_EQ(symbols, (std::vector<std::string>{"gear", "paintbrush.pointed",
                                                 "arrow.trianglehead.2.clockwise.rotate.90"}));
    for (const char* title : {"General", "Appearance", "Updates"})
        EXPECT_NE(host.findByText(title), nullptr) << title;

    tap("Updates");
    EXPECT_EQ((*selection)->value(), SettingsTab::updates);
    EXPECT_NE(host.findByText("Frequency:"), nullptr);
    tap("Appearance");
    EXPECT_EQ((*selection)->value(), SettingsTab::appearance);
    EXPECT_EQ(host.findByText("Frequency:"), nullptr) << "only the shown tab is built";
}

TEST_F(SettingsViewTest, TheBurnSwitchesWriteTheirKeysAtOnceAndFollowWritesMadeElsewhere) {
    host.update();
    tap("On quit");
    EXPECT_TRUE(Prefs::get(quoril::burnOnQuit()));
    EXPECT_FALSE(Prefs::get(quoril::burnAtEndOfDay()));
    tap("At the end of the day");
    EXPECT_TRUE(Prefs::get(quoril::burnAtEndOfDay()));

    Prefs::set(quoril::burnOnQuit(), false); // as another window would
    foundation::RunLoop::main().runUntilIdle();
    host.update();
    tap("On quit");
    EXPECT_TRUE(Prefs::get(quoril::burnOnQuit())) << "the switch showed the other write, so it turned on";
}

TEST_F(SettingsViewTest, TheRingMarksExactlyTheStoredIconAndEachChangeWhileShownSetsTheWindowIcon) {
    show(SettingsTab::appearance);
    EXPECT_EQ(ringed(), std::vector<std::string>{"red"}) << "the default";
    EXPECT_FALSE(applicationIcon()) << "nothing is set when the tab opens";
    for (MacAppIcon icon : {MacAppIcon::white, MacAppIcon::orange, MacAppIcon::black, MacAppIcon::yellow,
                            MacAppIcon::purple, MacAppIcon::green, MacAppIcon::blue, MacAppIcon::red}) {
        Prefs::set(quoril::dockIcon(), icon);
        foundation::RunLoop::main().runUntilIdle();
        host.update();
        EXPECT_EQ(ringed(), std::vector<std::string>{quoril::id(icon)});
        EXPECT_EQ(applicationIcon(), named(icon)) << quoril::id(icon);
    }

    desktop::Application::shared().setApplicationIconImage(std::nullopt);
    host.tap(host.find(std::string("blue")));
    EXPECT_EQ(Prefs::get(quoril::dockIcon()), MacAppIcon::blue);
    EXPECT_EQ(ringed(), std::vector<std::string>{"blue"}) << "at once";
    EXPECT_EQ(applicationIcon(), named(MacAppIcon::blue));

    desktop::Application::shared().setApplicationIconImage(std::nullopt);
    host.tap(host.find(std::string("blue")));
    EXPECT_FALSE(applicationIcon()) << "the chosen icon again changes nothing";

    show(SettingsTab::general);
    Prefs::set(quoril::dockIcon(), MacAppIcon::green);
    foundation::RunLoop::main().runUntilIdle();
    host.update();
    show(SettingsTab::appearance);
    EXPECT_FALSE(applicationIcon()) << "changed while the tab was not shown";
    EXPECT_EQ(ringed(), std::vector<std::string>{"green"});
}

TEST_F(SettingsViewTest, TheUpdatesTabStartsFromTheUpdaterAndWritesEachChangeToItAtOnce) {
    auto& updater = *updates.updater;
    updater.setAutomaticallyChecksForUpdates(true);
    updater.setUpdateCheckInterval(604800);
    show(SettingsTab::updates);
    EXPECT_EQ(frequencyMenu(), (std::vector<std::string>{"Hourly", "Daily", "Weekly *", "Monthly"}));
    ASSERT_TRUE(host.popups().choose("Monthly"));
    host.update();
    EXPECT_EQ(updater.updateCheckInterval(), 2629800);
    frequencyMenu();
    ASSERT_TRUE(host.popups().choose("Hourly"));
    host.update();
    EXPECT_EQ(updater.updateCheckInterval(), 3600);

    // Choosing the shown option again writes nothing, so a value stored meanwhile stays.
    updates.settings()->setObject(foundation::PropertyList(7200.0), updater::SPUUpdater::updateCheckIntervalKey);
    frequencyMenu();
    ASSERT_TRUE(host.popups().choose("Hourly"));
    host.update();
    EXPECT_EQ(updater.updateCheckInterval(), 7200);

    tap("Automatically download updates");
    EXPECT_TRUE(updater.automaticallyDownloadsUpdates());
    tap("Automatically check for updates");
    EXPECT_FALSE(updater.automaticallyChecksForUpdates());
    tap("Automatically download updates");
    EXPECT_TRUE(updater.automaticallyDownloadsUpdates()) << "disabled while checks are off, and kept";
    tap("Automatically check for updates");
    tap("Automatically download updates");
    EXPECT_FALSE(updater.automaticallyDownloadsUpdates()) << "enabled again";
}

TEST_F(SettingsViewTest, AnIntervalOfferedByNoOptionSelectsNone) {
    updates.updater->setUpdateCheckInterval(43200);
    show(SettingsTab::updates);
    EXPECT_EQ(frequencyMenu(), (std::vector<std::string>{"Hourly", "Daily", "Weekly", "Monthly"}));
    ASSERT_TRUE(host.popups().choose("Daily"));
    host.update();
    EXPECT_EQ(updates.updater->updateCheckInterval(), 86400);
}

TEST_F(SettingsViewTest, LastCheckedShowsOnlyAfterACheckInTheUsersLocaleAndZone) {
    testing_support::ScopedEnvironment all{"LC_ALL", nullptr}, time{"LC_TIME", nullptr},
        lang{"LANG", "en_US.UTF-8"}, zone{"TZ", "America/New_York"};
    host.clock().set(foundation::Date::fromTimeIntervalSince1970(1796841600)); // 2026-12-09 18:40 UTC
    updates.updater->startUpdater();
    show(SettingsTab::updates);
    EXPECT_TRUE(host.findAll([](const ui::Element& e) {
                        const auto text = e.node().text();
                        return text && text->starts_with("Last checked");
                    }).empty());

    tap("Check for Updates");
    for (int i = 0; i < 100 && updates.driver->shown == 0; ++i)
        host.stepFrame();
    EXPECT_EQ(updates.driver->shown, 1);
    show(SettingsTab::general);
    show(SettingsTab::updates);
    EXPECT_NE(host.findByText("Last checked: December 9, 2026 at 1:40\u202fPM"), nullptr);
}
