#include "TestBox.h"

#include "ui/AnyShape.h"
#include "ui/Circle.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Rectangle.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uitest;

namespace {

using Log = std::vector<std::string>;

ui::View tapped(ui::View view, std::shared_ptr<Log> log, std::string name) {
    return view.onTapGesture([log, name] { log->push_back(name); });
}

// A 100-point square behind, a 40-point square centred in front of it.
ui::View layered(std::shared_ptr<Log> log, const std::function<ui::View(ui::View)>& front) {
    return ui::ZStack(
        {tapped(box(100, 100, "back"), log, "back"), front(tapped(box(40, 40, "front"), log, "front"))});
}

TEST(HitTestingTest, ATapReachesTheTopmostViewThatTakesHits) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(layered(log, [](ui::View v) { return v; }), {200, 200});
    EXPECT_TRUE(host.tap({100, 100}));
    EXPECT_TRUE(host.tap({60, 60})) << "outside the front square, inside the back one";
    EXPECT_FALSE(host.tap({5, 5})) << "nothing there";
    EXPECT_EQ(*log, (Log{"front", "back"}));
}

TEST(HitTestingTest, SwitchedOffOrInvisibleViewsLetTheTapThrough) {
    struct Case {
        const char* name;
        std::function<ui::View(ui::View)> front;
        const char* expected;
    };
    const std::vector<Case> cases{
        {"hit testing off", [](ui::View v) { return v.allowsHitTesting(false); }, "back"},
        {"hit testing on", [](ui::View v) { return v.allowsHitTesting(true); }, "front"},
        {"hidden", [](ui::View v) { return v.hidden(); }, "back"},
        // The point is in the moved square's corner, outside its circle.
        {"moved", [](ui::View v) { return v.offset({15, 15}); }, "front"},
        {"moved and clipped", [](ui::View v) { return v.clipShape(ui::AnyShape(ui::Circle())).offset({15, 15}); },
         "back"},
        {"zero opacity", [](ui::View v) { return v.opacity(0); }, "back"},
        {"faint opacity", [](ui::View v) { return v.opacity(0.01); }, "front"},
    };
    for (const auto& c : cases) {
        auto log = std::make_shared<Log>();
        ui::TestHost host(layered(log, c.front), {200, 200});
        host.tap({100, 100});
        EXPECT_EQ(*log, (Log{c.expected})) << c.name;
    }
}

TEST(HitTestingTest, AClearAreaTakesATapOnlyWithAContentShape) {
    auto log = std::make_shared<Log>();
    auto clear = [] { return ui::View(std::make_shared<Box>(40, 40, Qt::transparent, "clear")); };
    ui::TestHost host(ui::ZStack({tapped(box(100, 100), log, "back"), tapped(clear(), log, "clear")}),
                      {200, 200});
    host.tap({100, 100});
    EXPECT_EQ(*log, (Log{"back"}));

    log->clear();
    host.setRoot(
        ui::ZStack({tapped(box(100, 100), log, "back"), tapped(clear().contentShape(ui::AnyShape(ui::Rectangle())), log, "clear")}));
    host.tap({100, 100});
    EXPECT_EQ(*log, (Log{"clear"}));
}

TEST(HitTestingTest, ContentScrolledOutOfTheViewportTakesNoHits) {
    auto log = std::make_shared<Log>();
    std::vector<ui::View> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back(tapped(box(100, 50), log, std::to_string(i)));
    ui::TestHost host(
        ui::VStack({ui::ScrollView(ui::VStack(ui::HorizontalAlignment::center, 0, rows)).frame(100, 100),
                    box(100, 50)}),
        {100, 158});
    EXPECT_TRUE(host.tap({50, 75}));
    EXPECT_FALSE(host.tap({50, 104})) << "row 2 lies there, below the viewport";
    EXPECT_EQ(*log, (Log{"1"}));
}

TEST(HitTestingTest, AMirroredViewTakesHitsWhereItPaints) {
    auto log = std::make_shared<Log>();
    auto view =
        ui::ZStack({tapped(box(100, 20), log, "back"), tapped(box(20, 20), log, "front").offset(-40, 0)})
            .flipsForRightToLeftLayoutDirection(true)
            .environment(ui::LayoutDirectionKey{}, ui::LayoutDirection::rightToLeft);
    ui::TestHost host(view, {100, 20});
    host.tap({90, 10});
    host.tap({10, 10});
    EXPECT_EQ(*log, (Log{"front", "back"}));
}

} // namespace
