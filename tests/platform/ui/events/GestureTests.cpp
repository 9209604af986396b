#include "Handles.h"
#include "TestBox.h"

#include "ui/EventTargets.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace uitest;

namespace {

using Log = std::vector<std::string>;

auto logger(std::shared_ptr<Log> log, std::string entry) {
    return [log, entry] { log->push_back(entry); };
}

TEST(GestureTest, ADoubleTapCountsClicksWithinTheIntervalAndPlace) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(
        box(100, 100).onTapGesture(2, logger(log, "double")).onTapGesture(logger(log, "single")), {100, 100});
    host.tap({50, 50});
    host.clock().advance(0.2);
    host.tap({52, 50});
    EXPECT_EQ(*log, (Log{"single", "double"})) << "the inner double tap wins the second click";

    log->clear();
    host.clock().advance(1);
    host.tap({50, 50});
    host.clock().advance(0.6);
    host.tap({50, 50});
    host.clock().advance(0.1);
    host.tap({90, 90});
    EXPECT_EQ(*log, (Log{"single", "single", "single"})) << "too late, then too far";

    log->clear();
    host.tap({50, 50}, {}, 2);
    EXPECT_EQ(*log, (Log{"double"})) << "a click count from the platform is taken as it is";
}

TEST(GestureTest, TheInnerGestureWinsUnlessTheOuterRunsSimultaneouslyOrMasksIt) {
    struct Case {
        const char* name;
        std::function<ui::View(ui::View)> outer;
        Log expected;
    };
    auto log = std::make_shared<Log>();
    const std::vector<Case> cases{
        {"exclusive", [&](ui::View v) { return v.onTapGesture(logger(log, "outer")); }, {"inner"}},
        {"simultaneous",
         [&](ui::View v) { return v.simultaneousGesture(ui::TapGesture().onEnded(logger(log, "outer"))); },
         {"inner", "outer"}},
        {"subviews off",
         [&](ui::View v) {
             return v.gesture(ui::TapGesture().onEnded(logger(log, "outer")), ui::GestureMask::gesture);
         },
         {"outer"}},
        {"own gesture off",
         [&](ui::View v) {
             return v.gesture(ui::TapGesture().onEnded(logger(log, "outer")), ui::GestureMask::subviews);
         },
         {"inner"}},
        {"disabled inside", [&](ui::View v) { return v.onTapGesture(logger(log, "outer")); }, {"outer"}},
    };
    for (const auto& c : cases) {
        log->clear();
        auto inner = box(50, 50).onTapGesture(logger(log, "inner"));
        if (std::string(c.name) == "disabled inside") inner = inner.disabled(true);
        ui::TestHost host(c.outer(ui::VStack({inner}).padding(10)), {100, 100});
        host.tap({50, 50});
        EXPECT_EQ(*log, c.expected) << c.name;
    }
}

TEST(GestureTest, ADragBeginsAtItsMinimumDistanceAndFailsTheTapsAroundIt) {
    auto log = std::make_shared<Log>();
    auto drag = ui::DragGesture(10)
                    .onChanged([log](const ui::DragGesture::Value& v) {
                        log->push_back("changed " + std::to_string(int(v.translation.width)) + "," +
                                       std::to_string(int(v.translation.height)));
                    })
                    .onEnded([log](const ui::DragGesture::Value& v) {
                        log->push_back("ended " + std::to_string(int(v.location.x)) + "," +
                                       std::to_string(int(v.location.y)));
                    });
    ui::TestHost host(box(100, 100).onTapGesture(logger(log, "tap")).gesture(drag).padding(50), {200, 200});
    host.pointerDown({100, 100});
    host.pointerMove({106, 100});
    EXPECT_TRUE(log->empty()) << "still short of the minimum distance";
    host.pointerMove({112, 95});
    host.pointerMove({120, 80});
    host.pointerUp({121, 80});
    EXPECT_EQ(*log, (Log{"changed 12,-5", "changed 20,-20", "ended 71,30"})) << "ends in local coordinates";

    log->clear();
    host.pointerDown({100, 100});
    host.pointerMove({104, 100});
    host.pointerUp({104, 100});
    EXPECT_EQ(*log, (Log{"tap"})) << "a short wobble is still a tap";
}

TEST(GestureTest, ALongPressFiresOnceHeldLongEnoughAndOtherwiseLeavesTheTap) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(
        box(100, 100)
            .onTapGesture(logger(log, "tap"))
            .onLongPressGesture(0.5, 10, logger(log, "long"),
                                [log](bool pressing) { log->push_back(pressing ? "down" : "up"); }),
        {100, 100});
    host.pointerDown({50, 50});
    host.stepFrame(0.4);
    EXPECT_EQ(*log, (Log{"down"}));
    host.stepFrame(0.2);
    host.pointerUp({50, 50});
    EXPECT_EQ(*log, (Log{"down", "long", "up"})) << "the tap lost to the press";

    log->clear();
    host.clock().advance(1);
    host.pointerDown({50, 50});
    host.stepFrame(0.3);
    host.pointerUp({50, 50});
    host.stepFrame(1);
    EXPECT_EQ(*log, (Log{"down", "up", "tap"}));

    log->clear();
    host.clock().advance(1);
    host.pointerDown({50, 50});
    host.pointerMove({50, 65});
    host.stepFrame(1);
    host.pointerUp({50, 65});
    EXPECT_EQ(*log, (Log{"down", "up"})) << "moved too far for either";
}

TEST(GestureTest, HoverFollowsTheViewsUnderThePointer) {
    auto log = std::make_shared<Log>();
    auto hover = [log](std::string name) {
        return [log, name](bool inside) { log->push_back(name + (inside ? " in" : " out")); };
    };
    ui::TestHost host(
        ui::HStack({box(40, 40).onHover(hover("a")), box(40, 40).onHover(hover("b"))}).onHover(hover("row")),
        {200, 100});
    const auto a = host.findAll([](const ui::Element& e) { return e.node().isLeaf(); });
    ASSERT_EQ(a.size(), 2u);
    const auto pa = ui::TestHost::frame(a[0]), pb = ui::TestHost::frame(a[1]);
    host.hover({pa.midX(), pa.midY()});
    host.hover({pb.midX(), pb.midY()});
    host.hover({5, 5});
    EXPECT_EQ(*log, (Log{"row in", "a in", "a out", "b in", "b out", "row out"}));
}

TEST(GestureTest, ASecondaryClickGoesToTheInnermostTargetAndNotToTaps) {
    auto log = std::make_shared<Log>();
    auto target = [log](std::string name) {
        return [log, name](graphics::CGPoint p) {
            log->push_back(name + " " + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
        };
    };
    ui::TestHost host(ui::secondaryClickTarget(
                          ui::secondaryClickTarget(box(50, 50), target("inner")).padding(25), target("outer"))
                          .onTapGesture(logger(log, "tap")),
                      {100, 100});
    EXPECT_TRUE(host.secondaryClick({30, 40}));
    EXPECT_EQ(*log, (Log{"inner 5,15"}));
}

// A long press and a drag on a view that a test can take away mid-press.
struct Removable {
    std::shared_ptr<Log> log;
    std::shared_ptr<Handles<bool>> handles;
    ui::View body(ui::ViewContext& ctx) const {
        auto shown = ctx.state<bool>("shown", true);
        handles->keep("shown", shown);
        if (!shown.value()) return box(100, 100);
        auto drag = ui::DragGesture(0).onChanged([log = log](const auto&) { log->push_back("changed"); });
        return box(100, 100)
            .gesture(drag.onEnded([log = log](const auto&) { log->push_back("ended"); }))
            .simultaneousGesture(ui::LongPressGesture(0.5).onEnded(logger(log, "long")));
    }
};

TEST(GestureTest, AGestureWhoseViewWentAwayMidPressCallsNothingMore) {
    auto log = std::make_shared<Log>();
    auto handles = std::make_shared<Handles<bool>>();
    ui::TestHost host(Removable{log, handles}, {100, 100});
    host.pointerDown({50, 50});
    EXPECT_EQ(*log, (Log{"changed"})) << "no minimum distance: it begins at once";
    (*handles)["shown"].set(false);
    host.update();
    host.stepFrame(1);
    host.pointerMove({60, 60});
    host.pointerUp({60, 60});
    EXPECT_EQ(*log, (Log{"changed"}));
}

} // namespace
