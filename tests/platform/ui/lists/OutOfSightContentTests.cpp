// Scroll views pass by content far out of sight and keep what did not change from frame to
// frame: what comes into sight must still paint, place and take clicks as it would otherwise.
#include "Handles.h"
#include "TestBox.h"

#include "ui/GeometryReader.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace uitest;

namespace {

const QColor pageColors[] = {Qt::red, Qt::blue, Qt::yellow, Qt::cyan, Qt::magenta};

// A 100 × 100 page: one colour, or green once its state says so; counts its taps.
struct Page {
    int index;
    std::shared_ptr<Handles<int>> handles;
    bool operator==(const Page& other) const { return index == other.index; }
    ui::View body(ui::ViewContext& ctx) const {
        auto green = ctx.state<int>("green", 0);
        auto taps = ctx.state<int>("taps", 0);
        handles->keep("green" + std::to_string(index), green);
        handles->keep("taps" + std::to_string(index), taps);
        const QColor color = green.value() ? QColor(Qt::green) : pageColors[index];
        return box(100, 100, "page " + std::to_string(index), color).onTapGesture([taps] { taps.set(taps.value() + 1); });
    }
};

ui::View strip(const std::shared_ptr<Handles<int>>& handles) {
    std::vector<ui::View> pages;
    for (int i = 0; i < 5; ++i)
        pages.push_back(ui::View(Page{i, handles}));
    return ui::ScrollView(ui::AxisSet::horizontal, false,
                          ui::HStack(ui::VerticalAlignment::center, 0, std::move(pages)));
}

void scrollTo(ui::TestHost& host, CGFloat x, bool animated) {
    auto* scroll = host.findByTypeName("ScrollView");
    if (animated)
        ui::withAnimation([&] { ui::ScrollView::setContentOffset(*scroll, {x, 0}); });
    else
        ui::ScrollView::setContentOffset(*scroll, {x, 0});
    host.update();
}

} // namespace

TEST(OutOfSightContentTest, PagesComingIntoSightPaintPlaceAndTakeClicksAsBefore) {
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(strip(handles), {100, 100});
    EXPECT_EQ(host.render().pixelColor(50, 50), QColor(Qt::red));

    // Page 3 changes while far out of sight; an animated scroll brings it in.
    (*handles)["green3"].set(1);
    host.update();
    scrollTo(host, 300, true);
    bool sawBoth = false;
    for (int frame = 0; frame < 90; ++frame) {
        host.stepFrame();
        const auto image = host.render();
        const auto left = image.pixelColor(1, 50);
        const auto right = image.pixelColor(98, 50);
        EXPECT_NE(right, QColor(Qt::white)) << "every column is covered by a page at frame " << frame;
        if (left == QColor(Qt::yellow) && right == QColor(Qt::green)) sawBoth = true;
    }
    EXPECT_TRUE(sawBoth) << "mid-way, pages 2 and 3 show side by side";
    EXPECT_EQ(host.render().pixelColor(50, 50), QColor(Qt::green)) << "the change made out of sight shows";
    EXPECT_EQ(host.frame(host.findByText("page 3")), (graphics::CGRect{{0, 0}, {100, 100}}));
    EXPECT_EQ(host.frame(host.findByText("page 4")), (graphics::CGRect{{100, 0}, {100, 100}}));

    EXPECT_TRUE(host.tap({50, 50}));
    host.update();
    EXPECT_EQ((*handles)["taps3"].value(), 1) << "the page in sight takes the click";
    EXPECT_EQ((*handles)["taps0"].value(), 0);

    // Back to a page that was passed by while it was out of sight, and on to the last one.
    scrollTo(host, 100, false);
    EXPECT_EQ(host.render().pixelColor(50, 50), QColor(Qt::blue));
    EXPECT_EQ(host.frame(host.findByText("page 1")), (graphics::CGRect{{0, 0}, {100, 100}}));
    EXPECT_TRUE(host.tap({50, 50}));
    host.update();
    EXPECT_EQ((*handles)["taps1"].value(), 1);
    scrollTo(host, 400, false);
    EXPECT_EQ(host.render().pixelColor(50, 50), QColor(Qt::magenta));
}

TEST(OutOfSightContentTest, AReaderOfItsGlobalFrameFollowsItsScrolledContainer) {
    ui::TestHost host(ui::ScrollView(ui::AxisSet::horizontal, false,
                                     ui::HStack(ui::VerticalAlignment::center, 0,
                                                {box(100, 100), ui::GeometryReader([](const ui::GeometryProxy& proxy) {
                                                     return ui::View(ui::Text::verbatim(
                                                         "at " + std::to_string(int(std::lround(proxy.globalFrame().minX())))));
                                                 }).frame(100, 100)})),
                      {100, 100});
    EXPECT_NE(host.findByText("at 100"), nullptr);
    scrollTo(host, 60, true);
    host.stepFrames(120);
    EXPECT_NE(host.findByText("at 40"), nullptr) << "the reader is told where it went";
}

namespace {

// A 100 × 100 page whose green mark its state moves, as far as past the page's own frame.
struct MarkedPage {
    std::shared_ptr<Handles<int>> handles;
    bool operator==(const MarkedPage&) const { return true; }
    ui::View body(ui::ViewContext& ctx) const {
        auto shift = ctx.state<int>("shift", 0);
        handles->keep("shift", shift);
        return ui::VStack({box(20, 20, "mark", Qt::green).offset(shift.value(), 0)})
            .frame(100, 100, ui::Alignment::topLeading);
    }
};

} // namespace

TEST(OutOfSightContentTest, WhereAPagePaintsFollowsAMarkMovedPastItsFrame) {
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(ui::ScrollView(ui::AxisSet::horizontal, false,
                                     ui::HStack(ui::VerticalAlignment::top, 0,
                                                {ui::View(MarkedPage{handles}), box(400, 100, "rest", Qt::transparent)})),
                      {100, 100});
    EXPECT_EQ(host.render().pixelColor(10, 10), QColor(Qt::green));
    (*handles)["shift"].set(250); // out of sight, and out of the page's frame
    host.update();
    EXPECT_EQ(host.render().pixelColor(10, 10), QColor(Qt::white));
    // The page scrolls out of sight; the mark it paints comes into it.
    scrollTo(host, 200, false);
    EXPECT_EQ(host.render().pixelColor(60, 10), QColor(Qt::green));
    scrollTo(host, 230, false);
    EXPECT_EQ(host.render().pixelColor(30, 10), QColor(Qt::green));
    (*handles)["shift"].set(0); // and back into the page, now out of sight
    host.update();
    EXPECT_EQ(host.render().pixelColor(30, 10), QColor(Qt::white));
}

// Frames below a scrolled container are moved along with it, not laid out again: whoever reads
// one — a deep one out of sight, with nothing painted — finds it where a full layout puts it.
TEST(OutOfSightContentTest, FramesMovedAlongAreRightWhenReadWithoutPainting) {
    auto taps = std::make_shared<std::vector<int>>(5, 0);
    std::vector<ui::View> pages;
    for (int i = 0; i < 5; ++i) {
        const std::string name = "p" + std::to_string(i);
        pages.push_back(ui::View(ui::VStack(ui::HorizontalAlignment::leading, 2,
                                            {ui::Text::verbatim(name + " top"),
                                             ui::HStack(ui::VerticalAlignment::center, 4,
                                                        {ui::View(ui::Text::verbatim(name + " left"))
                                                             .onTapGesture([taps, i] { ++(*taps)[i]; }),
                                                         ui::Text::verbatim(name + " right")})
                                                 .padding(3)}))
                            .frame(100, 100));
    }
    ui::TestHost host(ui::ScrollView(ui::AxisSet::horizontal, false,
                                     ui::HStack(ui::VerticalAlignment::center, 0, std::move(pages))),
                      {100, 100});
    host.update();
    auto* content = host.findByTypeName("HStack");
    ASSERT_NE(content, nullptr);
    ASSERT_EQ(host.frame(content).width(), 500);
    // Each text relative to the strip, as laid out at rest; the deepest, farthest ones first.
    std::vector<std::pair<ui::Element*, graphics::CGRect>> texts;
    graphics::CGRect restingLeft1;
    for (int i = 4; i >= 0; --i) {
        for (const char* part : {" right", " left", " top"}) {
            auto* text = host.findByText("p" + std::to_string(i) + part);
            ASSERT_NE(text, nullptr);
            const auto at = host.frame(text);
            texts.push_back({text, at.offsetBy(-host.frame(content).minX(), 0)});
            if (i == 1 && std::string(part) == " left") restingLeft1 = texts.back().second;
        }
    }
    auto expectInPlace = [&](int frame) {
        // The strip is read last, so the texts are read before anything above them.
        std::vector<graphics::CGRect> seen;
        for (const auto& [text, _] : texts)
            seen.push_back(host.frame(text));
        const CGFloat x = host.frame(content).minX();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto expected = texts[i].second.offsetBy(x, 0);
            EXPECT_NEAR(seen[i].minX(), expected.minX(), 1e-9) << "text " << i << " at frame " << frame;
            EXPECT_NEAR(seen[i].minY(), expected.minY(), 1e-9) << "text " << i << " at frame " << frame;
        }
    };

    auto* scroll = host.findByTypeName("ScrollView");
    ui::withAnimation([&] { ui::ScrollView::setContentOffset(*scroll, {300, 0}); });
    host.update();
    bool moved = false;
    for (int frame = 0; frame < 40; ++frame) {
        host.stepFrame();
        moved = moved || host.frame(content).minX() < -1;
        // Some frames are read, some only laid out, so that moves pile up unread.
        if (frame % 3 == 0) expectInPlace(frame);
    }
    EXPECT_TRUE(moved);
    host.stepFrames(60);
    expectInPlace(100);
    EXPECT_EQ(host.frame(content).minX(), -300);

    // A click finds the page in sight by where it is now, with nothing painted since.
    ui::withAnimation([&] { ui::ScrollView::setContentOffset(*scroll, {100, 0}); });
    host.update();
    host.stepFrames(100);
    const auto left = restingLeft1.offsetBy(-100, 0);
    ASSERT_GE(left.minX(), 0);
    EXPECT_TRUE(host.tap({left.midX(), left.midY()}));
    EXPECT_EQ(*taps, (std::vector<int>{0, 1, 0, 0, 0}));
}
