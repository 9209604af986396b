#include "Handles.h"
#include "TestBox.h"

#include "ViewKit/FetchedDataView.h"
#include "ViewKit/ListHeader.h"
#include "ViewKit/ListPadding.h"
#include "ViewKit/ListSectionTitle.h"
#include "ViewKit/ListSelectItem.h"
#include "ViewKit/NavigationButton.h"
#include "ViewKit/NavigationContext.h"

#include "reactive/AnyCancellable.h"
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/Text.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using uitest::box;

graphics::CGRect frameOf(const ui::TestHost& host, std::string_view label) {
    return ui::TestHost::frame(host.findByText(label));
}

// A stack of `middle` between two markers, so its height shows as the markers' distance.
double heightBetweenMarkers(const ui::View& middle) {
    ui::TestHost host(ui::VStack(ui::HorizontalAlignment::center, 0, {box(10, 10, "above"), middle, box(10, 10, "below")}),
                      {300, 300});
    return frameOf(host, "below").minY() - frameOf(host, "above").maxY();
}

} // namespace

TEST(ListHeaderTest, HeadersSpanTheRowWithTheirBottomPaddingAndImagesKeepTheirProportions) {
    EXPECT_EQ(heightBetweenMarkers(box(40, 30) | ViewKit::listHeader()), 30);
    EXPECT_EQ(heightBetweenMarkers(ViewKit::ListHeader(std::nullopt, [] { return box(40, 30); })), 30);
    EXPECT_EQ(heightBetweenMarkers(box(40, 30) | ViewKit::listHeader(20)), 50);
    EXPECT_EQ(heightBetweenMarkers(ViewKit::ListPadding{0}), 0);
    EXPECT_EQ(heightBetweenMarkers(ViewKit::ListPadding{12}), 12);

    QImage pixels(40, 20, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::blue);
    ui::TestHost header(ui::VStack({ViewKit::listHeader(ui::Image(graphics::Image(pixels)), 80)}), {300, 300});
    const QImage image = header.render();
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)) == QColor(Qt::blue)) {
                if (top < 0) top = y;
                bottom = y;
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_NEAR(bottom - top + 1, 80, 2);
    EXPECT_NEAR(right - left + 1, 160, 2) << "width from the proportions";
    EXPECT_NEAR((left + right) / 2.0, 150, 1) << "centred across the row";
}

TEST(ListSectionTitleTest, TitlesAreSmallSecondaryCapitalsThatCanLineUpWithRows) {
    // A missing key shows as the key, upper-cased: pixel for pixel the same as that text.
    const auto render = [](const ui::View& view) {
        ui::TestHost host(view, {200, 40});
        return host.render();
    };
    const ui::View expected =
        ui::View(ui::Text::verbatim("MISSING TITLE")).foregroundColor(ui::Color::secondary).font(ui::Font::footnote());
    EXPECT_EQ(render(ViewKit::ListSectionTitle{"Missing title", nullptr, false}), render(expected));

    ui::TestHost plain(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                  {box(10, 10, "above"), ViewKit::ListSectionTitle{"Title", nullptr, false}}),
                       {200, 100});
    ui::TestHost inset(ui::VStack(ui::HorizontalAlignment::leading, 0,
                                  {box(10, 10, "above"), ViewKit::ListSectionTitle{"Title", nullptr, true}}),
                       {200, 100});
    const auto title = [](const ui::TestHost& host) {
        const auto texts = host.findAll([](const ui::Element& e) { return e.node().text() == "Title"; });
        return texts.empty() ? graphics::CGRect{} : ui::TestHost::frame(texts.front());
    };
    EXPECT_EQ(title(inset).minX() - frameOf(inset, "above").minX(),
              title(plain).minX() - frameOf(plain, "above").minX() + 16);
    EXPECT_EQ(title(inset).minY() - frameOf(inset, "above").maxY(), -3);
    EXPECT_EQ(title(plain).minY() - frameOf(plain, "above").maxY(), 0);

    const double oneLine = heightBetweenMarkers(ViewKit::ListSubtitle{"Short", nullptr});
    const double longOne = heightBetweenMarkers(ViewKit::ListSubtitle{
        "A subtitle far too long to fit on one line of this narrow row, however it is cut", nullptr});
    EXPECT_GT(oneLine, 5);
    EXPECT_EQ(longOne, oneLine) << "one line, cut short";
}

namespace {

struct Counter {
    ui::View body(ui::ViewContext& ctx) const {
        auto count = ctx.state<int>("count", 0);
        return box(30, 20, "count " + std::to_string(count.value())).onTapGesture(1, [count] {
            count.set(count.value() + 1);
        });
    }
};

struct Selectable {
    uitest::HandlesPtr<bool> flags;
    ui::View body(ui::ViewContext& ctx) const {
        auto selected = ctx.state<bool>("selected", false);
        flags->keep("selected", selected);
        return ViewKit::ListSelectItem{selected.value(), box(12, 12, "check"), [] { return ui::View(Counter{}); }};
    }
};

} // namespace

TEST(ListSelectItemTest, TheIndicatorSitsTrailingWhileSelectedAndTheContentKeepsItsState) {
    auto flags = std::make_shared<uitest::Handles<bool>>();
    ui::TestHost host(ui::View(Selectable{flags}).frame(200, 40), {200, 40});
    EXPECT_EQ(host.findByText("check"), nullptr);
    EXPECT_EQ(frameOf(host, "count 0").minX(), 0);
    host.tap(host.findByText("count 0"));
    (*flags)["selected"].set(true);
    host.update();
    ASSERT_NE(host.findByText("count 1"), nullptr) << "the content kept its state";
    EXPECT_EQ(frameOf(host, "count 1").minX(), 0);
    EXPECT_EQ(frameOf(host, "check").maxX(), 200);
}

TEST(NavigationButtonTest, TheFaintArrowStaysAtTheTrailingEdge) {
    int runs = 0;
    ui::TestHost host(ui::View(ViewKit::NavigationButton{[&] { ++runs; }, [] { return box(20, 10, "short"); }})
                          .frame(240, 30),
                      {240, 30});
    const auto arrows = host.findAllType<ViewKit::NavigationLinkArrow>();
    ASSERT_EQ(arrows.size(), 1u);
    const auto arrow = ui::TestHost::frame(arrows.front());
    EXPECT_EQ(arrow.maxX(), 240);
    EXPECT_EQ(frameOf(host, "short").minX(), 0);
    // Its symbol is 2 points in from the arrow's leading edge, drawn at 0.3.
    const QImage image = host.render();
    int darkest = 255;
    for (int x = int(arrow.minX()); x < int(arrow.maxX()); ++x)
        for (int y = 0; y < 30; ++y) darkest = std::min(darkest, qGray(image.pixel(x, y)));
    EXPECT_GT(darkest, 120) << "faint";
    EXPECT_LT(darkest, 250);
    for (int y = 0; y < 30; ++y)
        EXPECT_EQ(qGray(image.pixel(int(arrow.minX()), y)), 255) << "the leading padding";
    host.tap(graphics::CGPoint{150, 15});
    EXPECT_EQ(runs, 1) << "the whole row takes the click";
}

TEST(NavigationContextTest, EveryChangeAnnouncesItselfOnceAndOutOfRangeRemovalsAreClamped) {
    ViewKit::NavigationContext<int> context;
    int announcements = 0;
    std::vector<std::vector<int>> paths;
    reactive::AnyCancellable will = context.objectWillChange().sink([&](auto) { ++announcements; });
    reactive::AnyCancellable seen = context.pathPublisher().sink([&](const std::vector<int>& p) { paths.push_back(p); });
    context.append(1);
    context.append(2);
    EXPECT_EQ(announcements, 2);
    context.removeLast(0);
    EXPECT_EQ(announcements, 3) << "even a change that changes nothing";
    EXPECT_EQ(context.path(), (std::vector<int>{1, 2}));
    context.removeLast(-1);
    EXPECT_EQ(context.path(), (std::vector<int>{1, 2}));
    context.append(3);
    context.removeLast(1);
    EXPECT_EQ(context.path(), (std::vector<int>{1, 2}));
    context.removeLast(99);
    EXPECT_TRUE(context.path().empty());
    context.append(4);
    context.removeLast(1);
    EXPECT_EQ(announcements, 9);
    EXPECT_EQ(paths.front(), std::vector<int>{});
    EXPECT_EQ(paths.size(), 10u) << "the current path, then one per change";
    EXPECT_EQ(paths[2], (std::vector<int>{1, 2}));
}

TEST(FetchedDataViewTest, DataWinsOverLoadingAndTheBuilderRunsOnlyWithData) {
    int builds = 0;
    const auto view = [&](std::optional<std::vector<int>> data, bool loading) {
        return ViewKit::FetchedDataView<std::vector<int>>{std::move(data), loading, box(10, 10, "loading"),
                                                          box(10, 10, "no data"), [&](const std::vector<int>& d) {
                                                              ++builds;
                                                              return box(10, 10, std::to_string(d.size()) + " items");
                                                          }};
    };
    const auto shown = [](const ui::View& v) {
        ui::TestHost host(v, {50, 50});
        for (const char* label : {"loading", "no data", "0 items", "2 items"})
            if (host.findByText(label)) return std::string(label);
        return std::string("nothing");
    };
    EXPECT_EQ(shown(view(std::vector<int>{1, 2}, true)), "2 items");
    const int withData = builds;
    EXPECT_GE(withData, 1);
    EXPECT_EQ(shown(view(std::nullopt, true)), "loading");
    EXPECT_EQ(shown(view(std::nullopt, false)), "no data");
    EXPECT_EQ(builds, withData) << "no data, no build";
    EXPECT_EQ(shown(view(std::vector<int>{}, false)), "0 items") << "an empty collection is data";
}
