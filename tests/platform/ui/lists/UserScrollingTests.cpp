#include "TestBox.h"

#include "ui/ForEach.h"
#include "ui/LazyStack.h"
#include "ui/List.h"
#include "ui/ScrollDisabled.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace uitest;

namespace {

// A vertical scroll view of 20 rows (20 points each), one of them a sideways strip of 10 boxes
// 50 points wide.
ui::View nested(bool stripDisabled = false) {
    std::vector<ui::View> rows;
    for (int i = 0; i < 20; ++i) {
        if (i == 1) {
            std::vector<ui::View> boxes;
            for (int j = 0; j < 10; ++j)
                boxes.push_back(box(50, 20, "strip " + std::to_string(j)));
            rows.push_back(ui::scrollDisabled(ui::ScrollView(ui::AxisSet::horizontal,
                                                             ui::HStack(ui::VerticalAlignment::center, 0, boxes))
                                                  .id(std::string("strip")),
                                              stripDisabled));
        } else {
            rows.push_back(box(100, 20, "row " + std::to_string(i)));
        }
    }
    return ui::ScrollView(ui::VStack(ui::HorizontalAlignment::center, 0, rows)).id(std::string("outer"));
}

graphics::CGPoint offsetOf(ui::TestHost& host, const char* id) {
    return ui::ScrollView::contentOffset(*host.find(id));
}

} // namespace

TEST(UserScrollingTest, TheInnermostScrollViewThatCanMoveTakesTheWheelWithinItsContent) {
    ui::TestHost host(nested(), {100, 100});
    // Over a plain row: the outer view moves, and never past the content's end (400 - 100).
    EXPECT_TRUE(host.scroll({50, 50}, {0, 30}));
    EXPECT_EQ(offsetOf(host, "outer").y, 30);
    EXPECT_TRUE(host.scroll({50, 50}, {0, 1000}));
    EXPECT_EQ(offsetOf(host, "outer").y, 300);
    EXPECT_FALSE(host.scroll({50, 50}, {0, 10})) << "nothing left to move";
    EXPECT_TRUE(host.scroll({50, 50}, {0, -1000}));
    EXPECT_EQ(offsetOf(host, "outer").y, 0);

    // Over the sideways strip a vertical wheel moves the strip, until it reaches its end...
    EXPECT_TRUE(host.scroll({50, 30}, {0, 250}));
    EXPECT_EQ(offsetOf(host, "strip").x, 250);
    EXPECT_EQ(offsetOf(host, "outer").y, 0);
    EXPECT_TRUE(host.scroll({50, 30}, {0, 500}));
    EXPECT_EQ(offsetOf(host, "strip").x, 400);
    // ...then the view around it takes the wheel.
    EXPECT_TRUE(host.scroll({50, 30}, {0, 40}));
    EXPECT_EQ(offsetOf(host, "strip").x, 400);
    EXPECT_EQ(offsetOf(host, "outer").y, 40);
    EXPECT_FALSE(host.scroll({150, 150}, {0, 40})) << "outside every scroll view";
}

TEST(UserScrollingTest, ListRowsAreBuiltAsTheWheelBringsThemIntoView) {
    ui::TestHost host(ui::List({ui::ForEach(0, 60, [](int i) { return box(100, 30, "goal " + std::to_string(i)); })}),
                      {200, 300});
    EXPECT_EQ(host.findByText("goal 59"), nullptr);
    for (int i = 0; i < 100 && !host.findByText("goal 59"); ++i)
        host.scroll({100, 150}, {0, 120});
    auto* last = host.findByText("goal 59");
    ASSERT_NE(last, nullptr);
    EXPECT_LE(ui::TestHost::frame(last).maxY(), 300.5) << "the last row shows whole";
    const auto offset = ui::ScrollView::contentOffset(*last);
    EXPECT_FALSE(host.scroll({100, 150}, {0, 120}));
    EXPECT_EQ(ui::ScrollView::contentOffset(*host.findByText("goal 59")), offset);
}

TEST(UserScrollingTest, DraggingTheIndicatorAndPressingItsTrackMoveTheContent) {
    // 2000 points of content in a 200-point viewport: the thumb is a tenth of its track.
    ui::TestHost host(ui::ScrollView(box(100, 2000, "tall")).id(std::string("view")), {100, 200});
    const double track = 200 - 2 * 2;
    const double thumb = std::max(20.0, track * 200 / 2000); // never shorter than 20 points
    const double perPoint = (2000 - 200) / (track - thumb);
    host.update();

    // Down on the thumb, 30 points down: the content moves as far as the track says.
    EXPECT_TRUE(host.pointerDown({96, 10}));
    host.pointerMove({96, 40});
    EXPECT_NEAR(offsetOf(host, "view").y, 30 * perPoint, 0.01);
    host.pointerUp({96, 40});
    const double afterDrag = offsetOf(host, "view").y;

    // A press on the track below the thumb pages down; a press beside the indicator does not.
    EXPECT_TRUE(host.pointerDown({96, 190}));
    host.pointerUp({96, 190});
    EXPECT_NEAR(offsetOf(host, "view").y, afterDrag + ui::ScrollView::pageLength(*host.find("view")), 0.01);
    EXPECT_FALSE(host.pointerDown({40, 190}));
    host.pointerUp({40, 190});
}

TEST(UserScrollingTest, PageKeysMoveThePageAndHomeAndEndGoToTheEdges) {
    ui::TestHost host(ui::ScrollView(box(100, 2000, "tall")).id(std::string("view")), {100, 200});
    const double page = ui::ScrollView::pageLength(*host.find("view"));
    EXPECT_GT(page, 100);
    EXPECT_LT(page, 200);
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::pageDown));
    EXPECT_EQ(offsetOf(host, "view").y, page);
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::end));
    EXPECT_EQ(offsetOf(host, "view").y, 1800);
    EXPECT_FALSE(host.keyPress(ui::KeyEquivalent::pageDown));
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::pageUp));
    EXPECT_EQ(offsetOf(host, "view").y, 1800 - page);
    EXPECT_TRUE(host.keyPress(ui::KeyEquivalent::home));
    EXPECT_EQ(offsetOf(host, "view").y, 0);
    EXPECT_FALSE(host.keyPress(ui::KeyEquivalent::end, ui::EventModifiers::shift)) << "not with modifiers";
}

TEST(UserScrollingTest, AScrollDisabledViewTakesNoUserScrollingButMovesByCode) {
    ui::TestHost host(nested(true), {100, 100});
    // The wheel over the strip passes it by and moves the view around it.
    EXPECT_TRUE(host.scroll({50, 30}, {0, 40}));
    EXPECT_EQ(offsetOf(host, "strip").x, 0);
    EXPECT_EQ(offsetOf(host, "outer").y, 40);

    ui::ScrollView::setContentOffset(*host.find("strip"), {120, 0});
    host.update();
    EXPECT_EQ(offsetOf(host, "strip").x, 120) << "code still scrolls it";

    // Disabled around a lone scroll view: nothing takes the wheel or the page keys.
    ui::TestHost lone(ui::scrollDisabled(ui::ScrollView(box(100, 2000, "tall")).id(std::string("view")), true), {100, 200});
    EXPECT_FALSE(lone.scroll({50, 50}, {0, 40}));
    EXPECT_FALSE(lone.keyPress(ui::KeyEquivalent::pageDown));
    EXPECT_EQ(offsetOf(lone, "view").y, 0);
}
