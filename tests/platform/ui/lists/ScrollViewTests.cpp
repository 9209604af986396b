#include "Handles.h"
#include "TestBox.h"

#include "ui/ForEach.h"
#include "ui/Grid.h"
#include "ui/LazyStack.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace uitest;

namespace {

struct LazyRow {
    int index;
    std::shared_ptr<Handles<int>> handles;
    std::shared_ptr<std::vector<std::string>> log;
    bool operator==(const LazyRow& other) const { return index == other.index; }
    ui::View body(ui::ViewContext& ctx) const {
        auto taps = ctx.state<int>("taps", 0);
        handles->keep(std::to_string(index), taps);
        return box(100, 20, "row " + std::to_string(index) + ":" + std::to_string(taps.value()))
            .onAppear([log = log, i = index] { log->push_back("+" + std::to_string(i)); })
            .onDisappear([log = log, i = index] { log->push_back("-" + std::to_string(i)); });
    }
};

struct List {
    std::shared_ptr<Handles<int>> handles;
    std::shared_ptr<std::vector<std::string>> log;
    std::shared_ptr<ui::ScrollViewProxy> proxy;
    ui::View body(ui::ViewContext&) const {
        return ui::ScrollViewReader([*this](const ui::ScrollViewProxy& p) {
            *proxy = p;
            return ui::View(ui::ScrollView(
                ui::LazyVStack(ui::HorizontalAlignment::center, 0, {ui::ForEach(0, 1000, [*this](int i) {
                                   return ui::View(LazyRow{i, handles, log});
                               })})));
        });
    }
};

TEST(ScrollViewTest, ALazyStackBuildsOnlyVisibleRowsAndKeepsStateOfThoseScrolledAway) {
    auto handles = std::make_shared<Handles<int>>();
    auto log = std::make_shared<std::vector<std::string>>();
    auto proxy = std::make_shared<ui::ScrollViewProxy>();
    ui::TestHost host(List{handles, log, proxy}, {100, 100});
    EXPECT_LE(host.findAllType<LazyRow>().size(), 6u);
    EXPECT_EQ(host.frame(host.findByText("row 0:0")), (graphics::CGRect{{0, 0}, {100, 20}}));
    EXPECT_EQ(host.frame(host.findByTypeName("LazyVStack")).height(), 20000);
    (*handles)["1"].set(3);

    auto* scroll = host.findByTypeName("ScrollView");
    ui::ScrollView::setContentOffset(*scroll, {0, 400});
    host.update();
    EXPECT_EQ(host.findByText("row 1:3"), nullptr) << "scrolled away";
    EXPECT_EQ(host.frame(host.findByText("row 20:0")), (graphics::CGRect{{0, 0}, {100, 20}}));
    EXPECT_LE(host.findAllType<LazyRow>().size(), 6u);
    EXPECT_NE(std::find(log->begin(), log->end(), "-1"), log->end());

    ui::ScrollView::setContentOffset(*scroll, {0, 0});
    host.update();
    EXPECT_NE(host.findByText("row 1:3"), nullptr) << "its state stayed while its identity did";
    EXPECT_EQ(std::count(log->begin(), log->end(), "+1"), 2);
}

TEST(ScrollViewTest, ScrollViewReaderScrollsToRowsNeverBuiltWithAnAnchor) {
    auto handles = std::make_shared<Handles<int>>();
    auto log = std::make_shared<std::vector<std::string>>();
    auto proxy = std::make_shared<ui::ScrollViewProxy>();
    ui::TestHost host(List{handles, log, proxy}, {100, 100});
    proxy->scrollTo(500, graphics::CGPoint{0, 0});
    host.update();
    EXPECT_EQ(host.frame(host.findByText("row 500:0")).minY(), 0);
    proxy->scrollTo(510, graphics::CGPoint{0, 1}); // bottom
    host.update();
    EXPECT_EQ(host.frame(host.findByText("row 510:0")).maxY(), 100);
    proxy->scrollTo(999);
    host.update();
    EXPECT_EQ(host.frame(host.findByText("row 999:0")).maxY(), 100) << "the end clamps";
    EXPECT_EQ(ui::ScrollView::contentOffset(*host.findByTypeName("ScrollView")).y, 20000 - 100);
    proxy->scrollTo(12345); // no such row: nothing moves
    host.update();
    EXPECT_EQ(ui::ScrollView::contentOffset(*host.findByTypeName("ScrollView")).y, 20000 - 100);
}

TEST(ScrollViewTest, AScrollViewClipsItsContentAndOffersItsIdealLength) {
    ui::TestHost host(ui::ScrollView(ui::VStack(ui::HorizontalAlignment::center, 0,
                                                {box(50, 80, "a", Qt::red), box(50, 80, "b", Qt::blue)})),
                      {50, 100});
    EXPECT_EQ(host.frame(host.findByText("b")), (graphics::CGRect{{0, 80}, {50, 80}}));
    const auto image = host.render();
    EXPECT_EQ(image.pixelColor(25, 90), QColor(Qt::blue));
    ui::ScrollView::setContentOffset(*host.findByTypeName("ScrollView"), {0, 1000});
    host.update();
    EXPECT_EQ(host.frame(host.findByText("b")).maxY(), 100);
}

TEST(ScrollViewTest, IndicatorsFollowTheVisibleShareAndOffsetAndShowOnlyWhenTheyScroll) {
    // 400 of content in a 100 viewport: the bar is a quarter of its track.
    auto content = [] { return box(100, 400, "c", Qt::white); };
    ui::TestHost host(ui::ScrollView(content()), {100, 100});
    auto darkRows = [&](const QImage& image, int x) {
        std::vector<int> rows;
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y).lightness() < 240) rows.push_back(y);
        return rows;
    };
    auto rows = darkRows(host.render(), 95);
    ASSERT_FALSE(rows.empty()) << "drawn over the content";
    EXPECT_NEAR(rows.front(), 2, 1);
    EXPECT_NEAR(rows.back() - rows.front() + 1, 24, 2);
    EXPECT_TRUE(darkRows(host.render(), 50).empty()) << "a thin bar at the edge";

    ui::ScrollView::setContentOffset(*host.findByTypeName("ScrollView"), {0, 300});
    host.update();
    rows = darkRows(host.render(), 95);
    ASSERT_FALSE(rows.empty());
    EXPECT_NEAR(rows.back(), 97, 1) << "at the end of the track when scrolled to the end";

    ui::TestHost off(ui::ScrollView(ui::AxisSet::vertical, false, content()), {100, 100});
    EXPECT_TRUE(darkRows(off.render(), 95).empty());
    ui::TestHost fits(ui::ScrollView(box(100, 80, "c", Qt::white)), {100, 100});
    EXPECT_TRUE(darkRows(fits.render(), 95).empty());

    // Scrolling both ways shows a bar along the bottom too.
    ui::TestHost both(ui::ScrollView(ui::AxisSet::both, box(200, 400, "c", Qt::white)), {100, 100});
    const auto image = both.render();
    EXPECT_LT(image.pixelColor(20, 95).lightness(), 240);
    EXPECT_EQ(image.pixelColor(95, 95).lightness(), 255) << "the corner stays free";
}

TEST(ScrollViewTest, GridTracksAdaptFixAndFlex) {
    auto cells = [](int n) {
        return ui::ForEach(0, n, [](int i) { return flexible("c" + std::to_string(i)); });
    };
    ui::TestHost adaptive(ui::LazyVGrid({ui::GridItem{ui::GridItem::Size::adaptive(40)}},
                                        ui::HorizontalAlignment::center, 8, {cells(4)}),
                          {100, 100});
    EXPECT_EQ(adaptive.frame(adaptive.findByText("c0")), (graphics::CGRect{{0, 36}, {46, 10}}));
    EXPECT_EQ(adaptive.frame(adaptive.findByText("c1")), (graphics::CGRect{{54, 36}, {46, 10}}));
    EXPECT_EQ(adaptive.frame(adaptive.findByText("c2")), (graphics::CGRect{{0, 54}, {46, 10}}));

    ui::TestHost mixed(ui::LazyVGrid({ui::GridItem{ui::GridItem::Size::fixed(30)},
                                      ui::GridItem{ui::GridItem::Size::flexible()}},
                                     {cells(2)}),
                       {100, 10});
    EXPECT_EQ(mixed.frame(mixed.findByText("c0")), (graphics::CGRect{{0, 0}, {30, 10}}));
    EXPECT_EQ(mixed.frame(mixed.findByText("c1")), (graphics::CGRect{{38, 0}, {62, 10}}));
}

TEST(ScrollViewTest, GridAlignmentPlacesTracksAndCellsAcrossTheAxis) {
    auto cells = [](int n) {
        return ui::ForEach(0, n, [](int i) { return box(10, 10, "c" + std::to_string(i)); });
    };
    const std::vector<ui::GridItem> two{{ui::GridItem::Size::fixed(20), 10}, {ui::GridItem::Size::fixed(20)}};
    auto minX = [](ui::TestHost& host, const char* text) { return host.frame(host.findByText(text)).minX(); };
    auto minY = [](ui::TestHost& host, const char* text) { return host.frame(host.findByText(text)).minY(); };

    ui::TestHost trailing(ui::LazyVGrid(two, ui::HorizontalAlignment::trailing, 0, {cells(2)}), {100, 100});
    EXPECT_EQ(minX(trailing, "c0"), 60) << "columns at the trailing edge, cells at their trailing edge";
    EXPECT_EQ(minX(trailing, "c1"), 90);
    ui::TestHost leading(ui::LazyVGrid(two, ui::HorizontalAlignment::leading, 0, {cells(2)}), {100, 100});
    EXPECT_EQ(minX(leading, "c0"), 0);
    EXPECT_EQ(minX(leading, "c1"), 30);
    ui::TestHost centred(ui::LazyVGrid(two, {cells(2)}), {100, 100});
    EXPECT_EQ(minX(centred, "c0"), 30);

    // A column's own alignment wins over the grid's for its cells.
    auto own = two;
    own[1].alignment = ui::Alignment::leading;
    ui::TestHost mixed(ui::LazyVGrid(own, ui::HorizontalAlignment::trailing, 0, {cells(2)}), {100, 100});
    EXPECT_EQ(minX(mixed, "c1"), 80);

    ui::TestHost bottom(ui::LazyHGrid(two, ui::VerticalAlignment::bottom, 0, {cells(2)}), {100, 100});
    const CGFloat top = bottom.frame(bottom.findByTypeName("LazyHGrid")).minY();
    EXPECT_EQ(minY(bottom, "c0") - top, 60);
    EXPECT_EQ(minY(bottom, "c1") - top, 90);
}

} // namespace

namespace {

// Ten thousand rows whose descriptions are counted as the stack asks for them.
struct CountedRows {
    std::shared_ptr<int> described;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 10000);
        handles->keep("count", count);
        return ui::ScrollView(ui::LazyVStack(ui::HorizontalAlignment::center, 0,
                                             {ui::ForEach(0, count.value(), [described = described](int i) {
                                                 ++*described;
                                                 return box(100, 20, "row " + std::to_string(i));
                                             })}));
    }
};

} // namespace

TEST(ScrollViewTest, ALazyStackDescribesOnlyTheRowsItBuildsAtEachUpdate) {
    auto described = std::make_shared<int>(0);
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(CountedRows{described, handles}, {200, 200});
    host.update();
    EXPECT_TRUE(host.findByText("row 0"));
    EXPECT_LT(*described, 40) << "ten rows show";

    // A row added at the end: the rows in sight are described again, the others are not.
    *described = 0;
    (*handles)["count"].set(10001);
    host.update();
    EXPECT_LT(*described, 40);
    EXPECT_TRUE(host.findByText("row 9"));

    // Scrolled to the end, the last rows show with their measured places.
    EXPECT_TRUE(host.scroll({100, 100}, {0, 1e9}));
    EXPECT_TRUE(host.findByText("row 10000"));
    EXPECT_FALSE(host.findByText("row 0"));
}

namespace {

// A thin first row above rows ten times its height, each row counted as it is described.
struct ThinFirstRow {
    std::shared_ptr<int> described;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto label = ctx.state<int>("label", 0);
        handles->keep("label", label);
        const int suffix = label.value();
        return ui::ScrollView(ui::LazyVStack(
            ui::HorizontalAlignment::center, 0,
            {box(100, 2, "top"), ui::ForEach(0, 1000, [described = described, suffix](int i) {
                 ++*described;
                 return box(100, 20, "row " + std::to_string(i) + "." + std::to_string(suffix));
             })}));
    }
};

} // namespace

TEST(ScrollViewTest,
     ALazyStackBuildsRowsInSightByTheirHeightsNotByItsFirstRowAndRedescribesThemAfterAChange) {
    auto described = std::make_shared<int>(0);
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(ThinFirstRow{described, handles}, {100, 100});
    EXPECT_TRUE(host.findByText("row 4.0"));
    EXPECT_FALSE(host.findByText("row 6.0"));
    EXPECT_LT(*described, 15) << "six rows show, not the fifty a 2-point estimate would fill";

    // Rows scrolled into sight are described; those built before are not described again.
    *described = 0;
    for (int step = 0; step < 10; ++step)
        ASSERT_TRUE(host.scroll({50, 50}, {0, 20}));
    EXPECT_TRUE(host.findByText("row 13.0"));
    EXPECT_LT(*described, 25);

    // A change of the content reaches the rows already built.
    (*handles)["label"].set(1);
    host.update();
    EXPECT_TRUE(host.findByText("row 13.1"));
    EXPECT_FALSE(host.findByText("row 13.0"));
}

namespace {

// Rows 20 or 30 high that keep a mark in their state.
struct MarkedRow {
    int id;
    std::shared_ptr<Handles<int>> handles;
    bool operator==(const MarkedRow& other) const { return id == other.id; }
    ui::View body(ui::ViewContext& ctx) const {
        auto mark = ctx.state<int>("mark", 0);
        handles->keep(std::to_string(id), mark);
        const std::string suffix = mark.value() ? "*" : "";
        return box(100, id % 2 ? 20 : 30, "row " + std::to_string(id) + suffix);
    }
};

struct IdentifiedRows {
    std::shared_ptr<std::vector<int>> ids;
    std::shared_ptr<Handles<int>> handles;
    ui::View body(ui::ViewContext&) const {
        return ui::ScrollView(ui::LazyVStack(
            ui::HorizontalAlignment::center, 0,
            {ui::ForEach(*ids, [](int id) { return id; }, [h = handles](int id) { return ui::View(MarkedRow{id, h}); })}));
    }
};

} // namespace

TEST(ScrollViewTest, ALazyStackPlacesRowsRightAfterInsertionsDeletionsMovesAndRepeatedIDs) {
    auto ids = std::make_shared<std::vector<int>>();
    for (int i = 0; i < 1000; ++i)
        ids->push_back(i);
    auto handles = std::make_shared<Handles<int>>();
    ui::TestHost host(IdentifiedRows{ids, handles}, {100, 100});
    auto topOf = [&](int id) {
        auto* row = host.findByText("row " + std::to_string(id));
        return row ? host.frame(row).minY() : -1;
    };
    auto change = [&](std::vector<int> now) {
        *ids = std::move(now);
        host.setRoot(IdentifiedRows{ids, handles});
        host.update();
    };
    ASSERT_EQ(topOf(2), 50);
    (*handles)["3"].set(1);
    host.update();

    // Rows pushed out of sight and back keep their state.
    auto now = *ids;
    now.insert(now.begin(), 1001); // a 20-point row at the top
    change(now);
    EXPECT_EQ(topOf(1001), 0);
    EXPECT_EQ(topOf(2), 70);
    EXPECT_FALSE(host.findByText("row 3*")) << "pushed out of sight";
    now.erase(now.begin());
    change(now);
    EXPECT_EQ(topOf(2), 50);
    EXPECT_TRUE(host.findByText("row 3*"));
    now.insert(now.begin(), 1001);
    change(now);

    now.erase(now.begin() + 2); // row 1
    now.push_back(now[1]);      // row 0 to the end
    now.erase(now.begin() + 1);
    change(now);
    EXPECT_EQ(topOf(2), 20);
    EXPECT_EQ(host.frame(host.findByText("row 3*")).minY(), 50);

    now.insert(now.begin() + 1, 3); // an id repeated by mistake
    change(now);
    EXPECT_EQ(topOf(2), 40);

    now.erase(now.begin() + 1);
    now.insert(now.begin() + 1, 2000); // and a 30-point row in its place
    change(now);
    EXPECT_EQ(topOf(2000), 20);
    EXPECT_EQ(topOf(2), 50);
}
