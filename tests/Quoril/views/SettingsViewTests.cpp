#include "App/PreferenceKeys.h"
#include "Views/SettingsView.h"

#include "Prefs/ValueAccess.h"
#include "QuorilShared/DockIconKey.h"
#include "TestUpdater.h"
#include "desktop/Application.h"
#include "ui/TestHost.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

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
    show(SettingsTab::updates);
    host.renderPNG(capturePath("settings-updates.png"), 2);
}
