// The switch bound to a Boolean key, driven through the test host. The program's bundle
// translates "On quit" into German, which the toggle's verbatim title must not use.
#include "PrefsFixture.h"

#include "Prefs/Toggle.h"

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"

#include "ScopedEnvironment.h"

#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using prefs_testing::PrefsTest;

class PrefsToggleTest : public PrefsTest {
protected:
    // Observation tasks end on the main loop; let them, so that nothing they hold outlives the test.
    void TearDown() override { foundation::RunLoop::main().runUntilIdle(); }

    // Virtual time from the start: work posted before a test host takes over the clock must not
    // wait for a real-time deadline the host's clock never reaches.
    foundation::ScopedManualClock clock;
    std::shared_ptr<foundation::UserDefaults> defaults = suite();
    std::shared_ptr<Prefs::Key<bool>> key = std::make_shared<Prefs::Key<bool>>("burnOnQuit", false, defaults);

    static void tapSwitch(ui::TestHost& host, const char* id) {
        const auto frame = ui::TestHost::frame(host.find(id));
        host.tap({frame.maxX() - 4, frame.midY()}); // the switch sits at the end of the row
    }
};

TEST_F(PrefsToggleTest, TurningItWritesTheBooleanAndOnChangeSeesEveryChange) {
    std::vector<bool> changes;
    ui::TestHost host(ui::View(Prefs::Toggle("On quit", key).onChange([&](bool on) {
                          changes.push_back(on);
                      })).id("toggle"),
                      {300, 60});
    EXPECT_TRUE(changes.empty()) << "appearing is no change";

    tapSwitch(host, "toggle");
    host.update();
    EXPECT_EQ(defaults->objectForKey("burnOnQuit"), foundation::PropertyList(true));
    EXPECT_EQ(defaults->objectForKey("burnOnQuit").kind(), foundation::PropertyList::Kind::boolean);
    EXPECT_EQ(changes, (std::vector<bool>{true}));

    Prefs::set(key, false); // another writer
    host.update();
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));

    Prefs::set(key, false); // announced, but the shown value did not change
    host.update();
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(PrefsToggleTest, WithoutOnChangeItStillWritesAndCallsNothing) {
    ui::TestHost host(ui::View(Prefs::Toggle("On quit", key)).id("toggle"), {300, 60});
    tapSwitch(host, "toggle");
    host.update();
    EXPECT_TRUE(Prefs::get(key));
    Prefs::set(key, false);
    host.update();
    tapSwitch(host, "toggle");
    host.update();
    EXPECT_TRUE(Prefs::get(key));
}

TEST_F(PrefsToggleTest, CopiesShareTheHandlerStoredByOnChange) {
    int calls = 0;
    const Prefs::Toggle original("On quit", key);
    const auto copy = original.onChange([&](bool) { ++calls; });
    ui::TestHost host(ui::View(original).id("toggle"), {300, 60});
    tapSwitch(host, "toggle");
    host.update();
    EXPECT_EQ(calls, 1) << "the toggle onChange was called on holds the handler too";
    EXPECT_EQ(copy.observable(), original.observable());
}

TEST_F(PrefsToggleTest, TitlesAreShownVerbatimWhileKeysAreTranslated) {
    testing_support::ScopedEnvironment language{"LANGUAGE", "de"}, all{"LC_ALL", nullptr};
    auto endOfDay = std::make_shared<Prefs::Key<bool>>("burnAtEndOfDay", true, defaults);
    ui::TestHost host(ui::VStack({ui::Text("On quit"), Prefs::Toggle("On quit", key),
                                  Prefs::Toggle("At the end of the day", "flame", endOfDay)}),
                      {320, 120});
    EXPECT_NE(host.findByText("Beim Beenden"), nullptr) << "the program's table translates the key";
    EXPECT_NE(host.findByText("On quit"), nullptr);
    EXPECT_NE(host.findByText("At the end of the day"), nullptr);
    EXPECT_EQ(host.findByText("Am Ende des Tages"), nullptr);

    if (const char* out = std::getenv("PREFSUI_RENDER")) host.renderPNG(out, 2);
}

} // namespace
