#include "TestBox.h"

#include "ViewKit/ListAction.h"
#include "ViewKit/ListButtonStyle.h"

#include "desktop/Pasteboard.h"
#include "ui/Button.h"
#include "ui/EnvironmentActions.h"
#include "ui/TestHost.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ViewKit::ListAction;

std::string destination(const ListAction& action) {
    const auto url = action.destination();
    return url ? url->absoluteString() : "none";
}

bool paintsAnything(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) != QColor(Qt::white)) return true;
    return false;
}

// Collects what links hand to the desktop while it lives.
struct OpenedURLs {
    std::vector<std::string> urls;
    ui::OpenURLAction::SystemOpener previous;
    OpenedURLs() {
        previous = ui::OpenURLAction::setSystemOpener([this](const foundation::URL& url) {
            urls.push_back(url.absoluteString());
            return true;
        });
    }
    ~OpenedURLs() { ui::OpenURLAction::setSystemOpener(previous); }
};

} // namespace

TEST(ListActionTest, LinksAreEncodedAndOnlyWebAddressesOpen) {
    EXPECT_EQ(destination(ListAction::call("")), "tel:");
    EXPECT_EQ(destination(ListAction::call("+49 30 1234")), "tel:+49%2030%201234");
    EXPECT_EQ(destination(ListAction::email("a b@c.org?x=1")), "mailto:a%20b@c.org%3Fx%3D1");
    EXPECT_EQ(destination(ListAction::email("a@b.org?attach=/etc/passwd")), "mailto:a@b.org%3Fattach%3D%2Fetc%2Fpasswd");
    EXPECT_EQ(destination(ListAction::open("https://example.org/a")), "https://example.org/a");
    for (const char* refused : {"", "file:///etc/passwd", "javascript:alert(1)", "https:", "ftp://example.org"})
        EXPECT_EQ(destination(ListAction::open(refused)), "none") << refused;
    EXPECT_EQ(destination(ListAction::copy("text")), "none");
}

TEST(ListActionTest, ARefusedAddressDrawsNothingAndAGoodOneReachesTheOpener) {
    OpenedURLs opened;
    for (const char* refused : {"", "file:///etc/passwd", "javascript:alert(1)", "https:"}) {
        ui::TestHost host(ListAction::open(refused).button(), {60, 60});
        EXPECT_FALSE(paintsAnything(host.render())) << refused;
        EXPECT_FALSE(host.tap(graphics::CGPoint{30, 30})) << refused;
    }
    EXPECT_TRUE(opened.urls.empty());

    ui::TestHost host(ListAction::open("https://example.org/a").button(), {60, 60});
    EXPECT_TRUE(paintsAnything(host.render())) << "the symbol";
    EXPECT_TRUE(host.findAll([](const ui::Element& e) { return e.node().text().has_value(); }).empty())
        << "and no text beside it";
    host.tap(graphics::CGPoint{30, 30});
    EXPECT_EQ(opened.urls, (std::vector<std::string>{"https://example.org/a"}));
}

TEST(ListActionTest, CopyingAnEmptyTextClearsAndWritesIt) {
    auto& pasteboard = desktop::Pasteboard::general();
    desktop::copyString(pasteboard, "before");
    const auto count = pasteboard.changeCount();
    ui::TestHost host(ListAction::copy("").button([] { return uitest::box(20, 20, "label"); }), {60, 60});
    ASSERT_NE(host.findByText("label"), nullptr) << "the given label";
    host.tap(host.findByText("label"));
    EXPECT_EQ(pasteboard.changeCount(), count + 2);
    EXPECT_EQ(pasteboard.string(), std::optional<std::string>(""));
}

namespace {

ui::View row(ViewKit::ListButtonStyle style, int* presses) {
    return ui::View(ui::Button([presses] { ++*presses; }, uitest::box(20, 10)))
        .buttonStyle(style)
        .frame(300, 30);
}

} // namespace

TEST(ListButtonStyleTest, TheLabelFadesWhilePressedAndTheWholeRowTakesClicks) {
    int presses = 0;
    ui::TestHost host(row(ViewKit::ListButtonStyle(), &presses), {300, 30});
    const auto labelPixel = [&] { return QColor(host.render().pixel(5, 15)); };
    EXPECT_EQ(labelPixel(), QColor(Qt::red)) << "at the leading edge";
    host.pointerDown({5, 15});
    EXPECT_NEAR(labelPixel().green(), 128, 2) << "half faded while pressed";
    host.pointerUp({5, 15});
    EXPECT_EQ(labelPixel(), QColor(Qt::red));
    EXPECT_EQ(presses, 1);

    host.tap(graphics::CGPoint{295, 15});
    EXPECT_EQ(presses, 2) << "far right of the short label";

    ui::TestHost steady(row(ViewKit::ListButtonStyle(1), &presses), {300, 30});
    steady.pointerDown({5, 15});
    EXPECT_EQ(QColor(steady.render().pixel(5, 15)), QColor(Qt::red)) << "no feedback with 1";
    steady.pointerUp({5, 15});
}
