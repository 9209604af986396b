#include "desktop/Application.h"
#include "desktop/Pasteboard.h"

#include "ui/Element.h"
#include "ui/EnvironmentActions.h"
#include "ui/HostingWindow.h"

#include <QApplication>
#include <QIcon>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string> texts(const ui::Element& element) {
    std::vector<std::string> found;
    std::function<void(const ui::Element&)> walk = [&](const ui::Element& e) {
        if (auto text = e.node().text()) found.push_back(*text);
        for (const auto& child : e.children()) walk(*child);
    };
    walk(element);
    return found;
}

const ui::Element* find(const ui::Element& element, std::string_view text) {
    if (element.node().text() == text) return &element;
    for (const auto& child : element.children())
        if (const auto* found = find(*child, text)) return found;
    return nullptr;
}

} // namespace

TEST(PasteboardTest, CopyStringReplacesTheClipboardAndClearingEmptiesIt) {
    auto& pasteboard = desktop::Pasteboard::general();
    const auto before = pasteboard.changeCount();
    desktop::copyString(pasteboard, "Buy milk");
    EXPECT_EQ(pasteboard.string(), "Buy milk");
    EXPECT_EQ(pasteboard.changeCount(), before + 2);
    desktop::copyString(pasteboard, "");
    EXPECT_EQ(pasteboard.string().value_or("?"), "");
    pasteboard.clearContents();
    EXPECT_FALSE(pasteboard.string().value_or("").size());
}

TEST(ApplicationTest, TheIconImageIsEveryWindowsIconAndNoneRestoresTheBundlesOwn) {
    auto& application = desktop::Application::shared();
    QImage pixels(32, 32, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::red);
    application.setApplicationIconImage(graphics::Image(pixels));
    ASSERT_TRUE(application.applicationIconImage());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    application.setApplicationIconImage(std::nullopt);
    EXPECT_FALSE(application.applicationIconImage());
    EXPECT_TRUE(QApplication::windowIcon().isNull()); // the test program's bundle names no icon
}

TEST(ApplicationTest, TheAboutPanelShowsTheGivenNameAndCreditsAndIsOnePanel) {
    auto& application = desktop::Application::shared();
    application.orderFrontStandardAboutPanel({.applicationName = "Quoril", .credits = "Made with care"});
    auto* panel = dynamic_cast<ui::HostingWindow*>(application.aboutPanel());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    auto shown = texts(panel->graph().root());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Quoril"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Made with care"), shown.end());

    // Present but empty credits are shown empty, not replaced by the bundle's copyright.
    application.orderFrontStandardAboutPanel({.applicationName = "Quoril", .credits = ""});
    EXPECT_EQ(application.aboutPanel(), panel);
    shown = texts(panel->graph().root());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "Made with care"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), ""), shown.end());
    panel->close();
}

TEST(ApplicationTest, AttributedCreditsAreDrawnInTheirColourAndSize) {
    auto& application = desktop::Application::shared();
    const auto grey = graphics::NSColor::sRGB(0.5, 0.5, 0.5);
    application.orderFrontStandardAboutPanel(
        {.applicationName = "Quoril",
         .credits = "plain",
         .attributedCredits = desktop::AboutPanelOptions::Credits{"Made with care", grey, 11}});
    auto* panel = dynamic_cast<ui::HostingWindow*>(application.aboutPanel());
    ASSERT_NE(panel, nullptr);
    panel->updateNow();
    const auto shown = texts(panel->graph().root());
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "plain"), shown.end()) << "the attributed credits win";
    const ui::Element* credits = find(panel->graph().root(), "Made with care");
    ASSERT_NE(credits, nullptr);
    // 11 points: a line shorter than the 13-point name's.
    const ui::Element* name = find(panel->graph().root(), "Quoril");
    ASSERT_NE(name, nullptr);
    EXPECT_LT(credits->frame().height(), name->frame().height());
    // Drawn in the given grey: no pixel of the credits is darker.
    const QImage image = panel->grab().toImage();
    const auto frame = credits->frame();
    int darkest = 255;
    for (int y = int(frame.minY()); y < int(frame.maxY()); ++y)
        for (int x = int(frame.minX()); x < int(frame.maxX()); ++x) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_GE(darkest, 110);
    EXPECT_LE(darkest, 200) << "the text is drawn";
    panel->close();
}

TEST(ApplicationTest, OpeningAURLGoesThroughTheReplaceableSystemOpener) {
    std::vector<std::string> opened;
    bool accept = true;
    auto previous = ui::OpenURLAction::setSystemOpener([&](const foundation::URL& url) {
        opened.push_back(url.absoluteString());
        return accept;
    });
    auto& application = desktop::Application::shared();
    const auto url = foundation::URL::fromString("https://example.org/goals?id=1");
    ASSERT_TRUE(url);
    EXPECT_TRUE(application.openURL(*url));
    accept = false;
    EXPECT_FALSE(application.openURL(*url)) << "the opener's refusal is reported";
    // A URL without a scheme never reaches the opener.
    if (auto bare = foundation::URL::fromString("no scheme here")) EXPECT_FALSE(application.openURL(*bare));
    EXPECT_EQ(opened, (std::vector<std::string>{"https://example.org/goals?id=1", "https://example.org/goals?id=1"}));
    ui::OpenURLAction::setSystemOpener(previous);
}
