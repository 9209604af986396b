#include "TestBox.h"

#include "ViewKit/ListCard.h"
#include "ViewKit/ListCardStyle.h"
#include "ViewKit/ListShelfSection.h"
#include "ViewKit/ListShelfSectionStyle.h"

#include "ui/Color.h"
#include "ui/ForEach.h"
#include "ui/List.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

using uitest::box;

graphics::CGRect frameOf(const ui::TestHost& host, std::string_view label) {
    return ui::TestHost::frame(host.findByText(label));
}

ui::View shelf(std::optional<double> shadowSpacing = std::nullopt, int count = 3) {
    return ViewKit::ListShelfSection(
        shadowSpacing, [] { return box(50, 10, "title"); },
        [count] { return ui::ForEach(0, count, [](int i) { return box(40, 30, "item " + std::to_string(i)); }); });
}

ui::View framedByMarkers(const ui::View& section) {
    return ui::VStack(ui::HorizontalAlignment::leading, 0, {box(10, 10, "above"), section, box(10, 10, "below")});
}

// An item that notes when it is built.
struct Item {
    int index;
    std::shared_ptr<std::set<int>> built;
    ui::View body(ui::ViewContext&) const {
        built->insert(index);
        return box(40, 30, "item " + std::to_string(index));
    }
};

} // namespace

TEST(ListShelfSectionTest, TheStyleSetsInsetsAndSpacings) {
    ui::TestHost host(framedByMarkers(shelf()), {400, 300});
    const auto origin = frameOf(host, "above").minX();
    EXPECT_EQ(frameOf(host, "title").minX() - origin, 16);
    EXPECT_EQ(frameOf(host, "item 0").minX() - origin, 16);
    EXPECT_EQ(frameOf(host, "item 0").minY() - frameOf(host, "title").maxY(), 10);
    EXPECT_EQ(frameOf(host, "item 1").minX() - frameOf(host, "item 0").maxX(), 16);
    EXPECT_EQ(frameOf(host, "below").minY() - frameOf(host, "item 0").maxY(), 16);

    ui::TestHost tight(framedByMarkers(shelf() | ViewKit::listShelfSectionStyle({0, 0, 0, 0})), {400, 300});
    EXPECT_EQ(frameOf(tight, "title").minX(), frameOf(tight, "above").minX());
    EXPECT_EQ(frameOf(tight, "item 0").minX(), frameOf(tight, "above").minX());
    EXPECT_EQ(frameOf(tight, "item 0").minY(), frameOf(tight, "title").maxY());
    EXPECT_EQ(frameOf(tight, "item 1").minX(), frameOf(tight, "item 0").maxX());
    EXPECT_EQ(frameOf(tight, "below").minY(), frameOf(tight, "item 0").maxY());
}

TEST(ListShelfSectionTest, TheShadowRoomDoesNotChangeTheOuterHeight) {
    const auto height = [](const ui::View& container) {
        ui::TestHost host(container, {400, 400});
        return frameOf(host, "below").minY() - frameOf(host, "above").maxY();
    };
    for (const double spacing : {0.0, 50.0}) {
        EXPECT_EQ(height(framedByMarkers(shelf(spacing))), 10 + 10 + 30 + 16) << spacing;
        EXPECT_EQ(height(ui::ScrollView(framedByMarkers(shelf(spacing)))), 10 + 10 + 30 + 16) << spacing;
    }
    const auto inList = [](double spacing) {
        ui::TestHost host(ui::List({shelf(spacing)}), {400, 400});
        return frameOf(host, "item 0").minY() - frameOf(host, "title").maxY();
    };
    EXPECT_EQ(inList(0), inList(50));
}

TEST(ListShelfSectionTest, CardShadowsShowAboveAndBelowTheRow) {
    const ui::View cards = ViewKit::ListShelfSection(
        std::nullopt, [] { return box(50, 10, "title"); },
        [] {
            return ui::ForEach(0, 3, [](int) {
                return ViewKit::ListCard([] { return ui::View(ui::Color::clear).frame(60, 40); }) |
                       ViewKit::listCardStyle({0, {ui::Color::black, 4, 0, 0}});
            });
        });
    ui::TestHost host(ui::VStack(ui::HorizontalAlignment::leading, 0, {box(10, 10, "above"), cards}), {400, 200});
    const QImage image = host.render(1, Qt::white);
    const int top = int(frameOf(host, "title").maxY() + 10);
    const int x = 16 + 30;
    EXPECT_GT(QColor(image.pixel(x, top + 20)).lightness(), 200) << "the card";
    EXPECT_LT(qGray(image.pixel(x, top - 2)), 250) << "shadow above the card";
    EXPECT_LT(qGray(image.pixel(x, top + 41)), 250) << "shadow below the card";
}

TEST(ListShelfSectionTest, ItemsAreBuiltAsTheyScrollIntoView) {
    auto built = std::make_shared<std::set<int>>();
    const ui::View section = ViewKit::ListShelfSection(
        std::nullopt, [] { return box(50, 10, "title"); },
        [built] { return ui::ForEach(0, 200, [built](int i) { return ui::View(Item{i, built}); }); });
    ui::TestHost host(section, {300, 200});
    ASSERT_FALSE(built->empty());
    EXPECT_LT(built->size(), 20u) << "only those in view";
    EXPECT_FALSE(built->contains(199));
    const auto before = *built->rbegin();
    const auto row = frameOf(host, "item 0");
    host.scroll({row.midX(), row.midY()}, {0, 400}); // a vertical wheel moves the row
    EXPECT_GT(*built->rbegin(), before);
}
