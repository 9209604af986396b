#include "Handles.h"
#include "TestBox.h"

#include "foundation/RunLoop.h"
#include "ui/Animation.h"
#include "ui/ForEach.h"
#include "ui/Gradient.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/Text.h"
#include "ui/TestHost.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

using namespace uitest;

namespace {

using Build = std::function<ui::View(double)>;

// A view made from the state "v" by `build`.
struct Driven {
    HandlesPtr<double> handles;
    Build build;
    double initial;
    ui::View body(ui::ViewContext& ctx) const {
        auto v = ctx.state<double>("v", initial);
        handles->keep("v", v);
        return build(*v);
    }
};

struct Fixture {
    HandlesPtr<double> handles = std::make_shared<Handles<double>>();
    ui::TestHost host;
    Fixture(Build build, double initial, graphics::CGSize size)
        : host(ui::View(Driven{handles, std::move(build), initial}), size) {}
    void set(double v) { (*handles)["v"].set(v); }
    void animate(double v, double seconds = 2) {
        ui::withAnimation(ui::Animation::linear(seconds), [&] { set(v); });
        host.update();
    }
    graphics::CGRect frame(const char* id) { return ui::TestHost::frame(host.find(id)); }
    int gray(int x, int y) { return qGray(host.render().pixel(x, y)); }
};

// A grower of width v and a sibling after it, lined up from the left.
ui::View growerAndSibling(double v, bool siblingAnimates = true) {
    ui::View sibling = box(10, 10).id("sibling");
    if (!siblingAnimates) sibling = sibling.animation(std::nullopt);
    return ui::View(ui::HStack(ui::VerticalAlignment::center, 0,
                               {box(10, 10).frame(v, 10).id("grower"), sibling}))
        .frame(200, 10, ui::Alignment::leading);
}

TEST(AttributeAnimationTest, LayoutChangesMoveAndResizeViewsOnlyUnderAnAnimation) {
    Fixture f([](double v) { return growerAndSibling(v); }, 10, {200, 10});
    EXPECT_EQ(f.frame("sibling").minX(), 10);
    f.set(30);
    f.host.update();
    EXPECT_EQ(f.frame("sibling").minX(), 30) << "outside withAnimation the new layout shows at once";
    EXPECT_FALSE(f.host.frameClock().hasSubscribers());

    f.animate(70);
    EXPECT_EQ(f.frame("sibling").minX(), 30) << "starts where it was";
    f.host.stepFrame(1);
    EXPECT_DOUBLE_EQ(f.frame("sibling").minX(), 50);
    EXPECT_DOUBLE_EQ(f.frame("grower").width(), 50) << "a fixed frame's size animates too";
    EXPECT_EQ(ui::TestHost::frame(f.host.find("sibling")).width(), 10) << "the sibling only moves";
    f.host.stepFrame(1);
    EXPECT_EQ(f.frame("sibling").minX(), 70);
    EXPECT_EQ(f.frame("grower").width(), 70);
    EXPECT_FALSE(f.host.frameClock().hasSubscribers()) << "landed, nothing keeps running";

    // What is painted follows the shown frames: half-way the sibling covers x 85..95, and the
    // box centred in the 85 wide grower covers 37.5..47.5 (neither where it was nor will be).
    f.animate(100);
    f.host.stepFrame(1);
    const QImage mid = f.host.render();
    EXPECT_EQ(mid.pixel(90, 5), qRgb(255, 0, 0));
    EXPECT_EQ(mid.pixel(42, 5), qRgb(255, 0, 0));
    EXPECT_EQ(mid.pixel(52, 5), qRgb(255, 255, 255));
}

TEST(AttributeAnimationTest, ALayoutChangeRetargetedMidFlightLeavesFromWhereItIs) {
    Fixture f([](double v) { return growerAndSibling(v); }, 10, {200, 10});
    f.animate(110);
    f.host.stepFrame(1);
    ASSERT_DOUBLE_EQ(f.frame("sibling").minX(), 60);
    f.animate(10);
    EXPECT_DOUBLE_EQ(f.frame("sibling").minX(), 60) << "no jump back to the old target";
    f.host.stepFrame(1);
    EXPECT_DOUBLE_EQ(f.frame("sibling").minX(), 35);
    f.host.stepFrame(1);
    EXPECT_EQ(f.frame("sibling").minX(), 10);
}

TEST(AttributeAnimationTest, LayoutAnimationsFollowSubtreeTransactionsAndCompletions) {
    // The sibling's subtree turns animation off: it jumps while the grower animates.
    Fixture f([](double v) { return growerAndSibling(v, false); }, 10, {200, 10});
    int completed = 0;
    ui::withAnimation(ui::Animation::linear(2), [&] { f.set(50); }, [&] { ++completed; });
    f.host.update();
    EXPECT_EQ(f.frame("sibling").minX(), 50);
    f.host.stepFrame(1);
    EXPECT_DOUBLE_EQ(f.frame("grower").width(), 30);
    foundation::RunLoop::main().runUntilIdle();
    EXPECT_EQ(completed, 0) << "the grower is still on its way";
    f.host.stepFrame(1);
    f.host.update();
    EXPECT_EQ(completed, 1);
}

TEST(AttributeAnimationTest, ColoursInterpolateInLinearLightAndLandOnTheirValue) {
    Fixture f([](double v) { return ui::View(ui::Color(1 - v, 0, v)); }, 0, {20, 20});
    f.animate(1);
    f.host.stepFrame(1);
    const QRgb mid = f.host.render().pixel(10, 10);
    // Half of each linear component, encoded: 188 rather than the 128 of an sRGB mix.
    EXPECT_NEAR(qRed(mid), 188, 1);
    EXPECT_NEAR(qBlue(mid), 188, 1);
    f.host.stepFrame(1);
    EXPECT_EQ(f.host.render().pixel(10, 10), qRgb(0, 0, 255));

    // A shape filled with a style colour animates the same way.
    Fixture g([](double v) { return ui::Rectangle().fill(ui::Color(v, v, v)); }, 0, {20, 20});
    g.animate(1);
    g.host.stepFrame(1);
    EXPECT_NEAR(g.gray(10, 10), 188, 1);
    g.host.stepFrame(1);
    EXPECT_EQ(g.gray(10, 10), 255);
}

TEST(AttributeAnimationTest, GradientsThatComeOutSolidAnimateAndOthersChangeAtOnce) {
    const auto gray = [](double v) { return ui::Color(v, v, v); };
    // One stop, or two points that meet: one solid colour, animated as a colour is.
    for (const bool meet : {false, true}) {
        Fixture f(
            [&](double v) {
                return meet ? ui::Rectangle().fill(ui::LinearGradient({gray(v), gray(v)}, ui::UnitPoint::top,
                                                                      ui::UnitPoint::top))
                            : ui::Rectangle().fill(
                                  ui::LinearGradient({gray(v)}, ui::UnitPoint::top, ui::UnitPoint::bottom));
            },
            0, {20, 20});
        f.animate(1);
        f.host.stepFrame(1);
        EXPECT_NEAR(f.gray(10, 10), 188, 1) << (meet ? "points that meet" : "one stop");
    }
    // A gradient proper shows its new stops at once.
    Fixture g(
        [&](double v) {
            return ui::Rectangle().fill(
                ui::LinearGradient({gray(v), gray(v)}, ui::UnitPoint::top, ui::UnitPoint::bottom));
        },
        0, {20, 20});
    g.animate(1);
    g.host.stepFrame(1);
    EXPECT_EQ(g.gray(10, 10), 255);
}

// Two full blocks: glyphs that cover their middle, so a pixel there is the text's own colour.
ui::View blocks(double v) {
    const ui::Text own = ui::Text(std::string("\u2588")).foregroundColor(QColor::fromRgbF(float(1 - v), 0, float(v)));
    const ui::Text inherited = ui::Text(std::string("\u2588"));
    return ui::View(own + inherited)
        .font(ui::Font::custom("DejaVu Sans", 40))
        .foregroundColor(ui::Color(0, v, 0))
        .frame(100, 60, ui::Alignment::topLeading);
}

TEST(AttributeAnimationTest, TextColoursAnimateLikeColourViews) {
    Fixture f(blocks, 0, {100, 60});
    const QImage before = f.host.render();
    // The middle of each block, found where the text is darkest in each half.
    auto middleOf = [&](const QImage& image, int from, int to) {
        QPoint best;
        int darkest = 256;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < 60; ++y)
                if (qGray(image.pixel(x, y)) < darkest) {
                    darkest = qGray(image.pixel(x, y));
                    best = {x, y};
                }
        return best;
    };
    const QPoint first = middleOf(before, 0, 20), second = middleOf(before, 26, 50);
    ASSERT_EQ(before.pixel(first), qRgb(255, 0, 0));
    ASSERT_EQ(before.pixel(second), qRgb(0, 0, 0));

    f.animate(1);
    f.host.stepFrame(1);
    const QImage mid = f.host.render();
    // The segment's own colour and the environment's both move, in linear light.
    EXPECT_NEAR(qRed(mid.pixel(first)), 188, 1);
    EXPECT_NEAR(qBlue(mid.pixel(first)), 188, 1);
    EXPECT_NEAR(qGreen(mid.pixel(second)), 188, 1);
    EXPECT_EQ(qRed(mid.pixel(second)), 0);
    f.host.stepFrame(1);
    const QImage after = f.host.render();
    EXPECT_EQ(after.pixel(first), qRgb(0, 0, 255));
    EXPECT_EQ(after.pixel(second), qRgb(0, 255, 0));

    // Without an animation the colour changes at once.
    f.set(0);
    f.host.update();
    EXPECT_EQ(f.host.render().pixel(first), qRgb(255, 0, 0));
}

TEST(AttributeAnimationTest, CornerRadiiOfShapesAndClipsAnimate) {
    const Build shapes[] = {
        [](double r) { return ui::RoundedRectangle(r).fill(ui::Color(0, 0, 0)); },
        [](double r) { return ui::View(ui::Color(0, 0, 0)).cornerRadius(r); },
    };
    for (const auto& build : shapes) {
        Fixture f(build, 0, {40, 40});
        EXPECT_LT(f.gray(1, 1), 60) << "square at first";
        f.animate(20);
        f.host.stepFrame(1);
        // A radius of 10: the very corner is cut away, a point 4 in is still inside.
        EXPECT_GT(f.gray(1, 1), 200);
        EXPECT_LT(f.gray(4, 4), 60);
        f.host.stepFrame(1);
        EXPECT_GT(f.gray(4, 4), 200) << "a circle at the end";
    }
}

// A custom shape filling a share of its rectangle from the left; the share animates.
struct Fill : ui::Shape<Fill> {
    double fraction = 0;
    explicit Fill(double f)
        : fraction(f) {}
    double animatableData() const { return fraction; }
    void setAnimatableData(double value) { fraction = value; }
    ui::Path path(const graphics::CGRect& rect) const {
        ui::Path p;
        p.addRect({rect.origin, {rect.width() * fraction, rect.height()}});
        return p;
    }
};

// A horizontal line through the middle, from the left.
struct Line : ui::Shape<Line> {
    ui::Path path(const graphics::CGRect& rect) const {
        ui::Path p;
        p.move({rect.minX(), rect.midY()});
        p.addLine({rect.maxX(), rect.midY()});
        return p;
    }
};

TEST(AttributeAnimationTest, CustomAnimatableShapesAndTrimsDrawTheirPresentedData) {
    Fixture f([](double v) { return Fill(v).fill(ui::Color(0, 0, 0)); }, 0, {100, 10});
    f.animate(1);
    f.host.stepFrame(1);
    EXPECT_LT(f.gray(45, 5), 60);
    EXPECT_GT(f.gray(55, 5), 200);
    f.host.stepFrame(1);
    EXPECT_LT(f.gray(99, 5), 60);

    Fixture t([](double v) { return Line().trim(0, v).stroke(ui::Color(0, 0, 0), 4); }, 0, {100, 10});
    t.animate(1);
    t.host.stepFrame(1);
    EXPECT_LT(t.gray(40, 5), 60);
    EXPECT_GT(t.gray(60, 5), 200);
    t.host.stepFrame(1);
    EXPECT_LT(t.gray(98, 5), 60);
}

TEST(AttributeAnimationTest, AShapeReplacedByOneOfAnotherKindShowsAtOnce) {
    // The same place holds shapes whose animated data differ in type.
    Fixture f(
        [](double v) {
            if (v < 1) return ui::RoundedRectangle(20).fill(ui::Color(0, 0, 0));
            if (v < 2) return Fill(0.5).fill(ui::Color(0, 0, 0));
            return ui::RoundedRectangle(0).fill(ui::Color(0, 0, 0));
        },
        0, {40, 40});
    EXPECT_GT(f.gray(1, 1), 200) << "rounded";
    f.animate(1);
    EXPECT_LT(f.gray(5, 20), 60);
    EXPECT_GT(f.gray(35, 20), 200) << "the other shape, not a blend with the rounded one";
    f.animate(2);
    EXPECT_LT(f.gray(1, 1), 60) << "square at once: the rounded shape starts again, not from its old radius";
}

TEST(AttributeAnimationTest, BlurRadiusAnimates) {
    Fixture f([](double r) { return box(20, 20, {}, Qt::black).blur(r); }, 0, {60, 60});
    const int sharp = f.gray(42, 30);
    f.animate(8);
    f.host.stepFrame(1);
    const int mid = f.gray(42, 30);
    f.host.stepFrame(1);
    const int end = f.gray(42, 30);
    EXPECT_EQ(sharp, 255);
    EXPECT_LT(end, mid);
    EXPECT_LT(mid, sharp) << "half-way the edge has started to spread";
}

struct Scroller {
    std::shared_ptr<ui::ScrollViewProxy> proxy;
    ui::View body(ui::ViewContext&) const {
        return ui::ScrollViewReader([proxy = proxy](const ui::ScrollViewProxy& p) {
            *proxy = p;
            return ui::View(ui::ScrollView(ui::VStack(ui::HorizontalAlignment::center, 0, {ui::ForEach(0, 20, [](int i) {
                return box(100, 50).id(i);
            })})));
        });
    }
};

TEST(AttributeAnimationTest, ScrollToInsideWithAnimationGlidesToTheRow) {
    auto proxy = std::make_shared<ui::ScrollViewProxy>();
    ui::TestHost host(Scroller{proxy}, {100, 100});
    auto top = [&] { return ui::TestHost::frame(host.find(0)).minY(); };
    proxy->scrollTo(4, graphics::CGPoint{0, 0});
    host.update();
    EXPECT_EQ(top(), -200) << "without an animation it jumps";

    ui::withAnimation(ui::Animation::linear(1), [&] { proxy->scrollTo(10, graphics::CGPoint{0, 0}); });
    host.update();
    EXPECT_EQ(top(), -200);
    host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(top(), -350);
    EXPECT_EQ(ui::ScrollView::contentOffset(*host.findByTypeName("ScrollView")).y, 500) << "heading there";
    // Sent elsewhere mid-way, it leaves from where it shows.
    ui::withAnimation(ui::Animation::linear(1), [&] { proxy->scrollTo(0, graphics::CGPoint{0, 0}); });
    host.update();
    EXPECT_DOUBLE_EQ(top(), -350);
    host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(top(), -175);
    host.stepFrame(0.5);
    EXPECT_EQ(top(), 0);
}

} // namespace
