#include "VirtualScreen.h"

#include "ViewKit/AboutPanelCommand.h"

#include "desktop/Application.h"
#include "desktop/ApplicationHost.h"
#include "desktop/CommandMenus.h"
#include "graphics/NSColor.h"
#include "ui/HostingWindow.h"
#include "ui/Rectangle.h"
#include "ui/WindowGroup.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct AboutApp {
    ui::Scene body(ui::ViewContext&) const {
        return ui::Scene({ui::WindowGroup(ui::View(ui::Rectangle()).frame(100, 100))
                              .commands(ui::View(ViewKit::AboutPanelCommand("About Goal Keeper", "Goal Keeper",
                                                                            "Made with care")))});
    }
};

std::vector<std::string> texts(const ui::Element& element) {
    std::vector<std::string> found;
    std::function<void(const ui::Element&)> walk = [&](const ui::Element& e) {
        if (auto text = e.node().text()) found.push_back(*text);
        for (const auto& child : e.children()) walk(*child);
    };
    walk(element);
    return found;
}

} // namespace

TEST(AboutPanelCommandTest, TheOptionsHoldTheNameAndOnlyCreditsThatWereGiven) {
    const ViewKit::AboutPanelCommand plain("About", "Goal Keeper");
    EXPECT_EQ(plain.title, "About");
    EXPECT_EQ(plain.options, (desktop::AboutPanelOptions{.applicationName = "Goal Keeper"}));

    const ViewKit::AboutPanelCommand empty("About", "Goal Keeper", "");
    ASSERT_TRUE(empty.options.attributedCredits) << "empty credits are sent, not left out";
    EXPECT_EQ(empty.options.attributedCredits->text, "");
    EXPECT_FALSE(empty.options.credits);

    const ViewKit::AboutPanelCommand credited("About", "Goal Keeper", "Made with care");
    ASSERT_TRUE(credited.options.attributedCredits);
    EXPECT_EQ(credited.options.attributedCredits->text, "Made with care");
    EXPECT_EQ(credited.options.attributedCredits->foregroundColor,
              graphics::NSColor::systemColor("secondaryLabelColor"));
    EXPECT_EQ(credited.options.attributedCredits->fontSize, 11);
}

TEST(AboutPanelCommandTest, ItIsTheOnlyAboutItemAndOpensThePanelWithTheNameAndCredits) {
    desktop::ApplicationHost host(AboutApp{});
    const auto items = host.menus().items(ui::CommandGroupPlacement::appInfo);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items.front().title, "About Goal Keeper");
    ASSERT_NE(host.menus().action("About Goal Keeper"), nullptr);
    host.menus().action("About Goal Keeper")->trigger();
    auto* panel = dynamic_cast<ui::HostingWindow*>(desktop::Application::shared().aboutPanel());
    ASSERT_NE(panel, nullptr);
    panel->updateNow();
    const auto shown = texts(panel->graph().root());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Goal Keeper"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Made with care"), shown.end());
    panel->close();
    host.terminate();
}

using AboutPanelScreen = testing_support::VirtualScreenFixture;

TEST_F(AboutPanelScreen, ChoosingTheCommandShowsThePanelWithSecondaryCredits) {
    const auto capture = captures_ / "viewkit-about-panel.png";
    const Shown shown = run(VIEWKIT_ABOUT_CAPTURE_PATH, capture, 1);
    ASSERT_EQ(shown.status, 0) << shown.output;
    const QImage screen(QString::fromStdString(capture.string()));
    ASSERT_FALSE(screen.isNull());
    const QImage panel = screen.copy(shown.x, shown.y, shown.width, shown.height);
    ASSERT_GT(panel.height(), 40);
    // Bands of rows holding text, top to bottom, with the darkest grey of each: the name first
    // and dark, the credits last and a lighter grey.
    struct Band {
        int darkest = 255;
    };
    std::vector<Band> bands;
    bool inText = false;
    for (int y = 0; y < panel.height(); ++y) {
        int darkest = 255;
        for (int x = 0; x < panel.width(); ++x) darkest = std::min(darkest, qGray(panel.pixel(x, y)));
        if (darkest < 225) {
            if (!inText) bands.push_back({});
            bands.back().darkest = std::min(bands.back().darkest, darkest);
        }
        inText = darkest < 225;
    }
    ASSERT_GE(bands.size(), 2u) << "compare " << capture;
    EXPECT_LT(bands.front().darkest, 80) << "compare " << capture;
    EXPECT_GT(bands.back().darkest, bands.front().darkest + 30) << "compare " << capture;
}
