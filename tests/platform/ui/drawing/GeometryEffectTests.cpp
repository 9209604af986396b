#include "TestBox.h"

#include "graphics/CGAffineTransform.h"
#include "graphics/ProjectionTransform.h"
#include "ui/GeometryEffect.h"
#include "ui/GeometryReader.h"
#include "ui/OffsetEffect.h"
#include "ui/Rotation3DEffect.h"
#include "ui/RotationEffect.h"
#include "ui/ScaleEffect.h"
#include "ui/Stack.h"
#include "ui/TestHost.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

using namespace uitest;
using graphics::CGPoint;
using graphics::CGRect;
using graphics::CGSize;
using graphics::ProjectionTransform;

namespace {

// A library-style effect: leans the content by `lean` points per point of height, about its top.
struct Lean {
    double animatableData = 0;
    ProjectionTransform effectValue(CGSize) const {
        return ProjectionTransform(graphics::CGAffineTransform{1, 0, animatableData, 1, 0, 0});
    }
    bool operator==(const Lean&) const = default;
};

// Records the size layout handed to the effect.
struct SizeProbe {
    std::shared_ptr<std::vector<CGSize>> seen;
    ProjectionTransform effectValue(CGSize size) const {
        seen->push_back(size);
        return {};
    }
};

struct Broken {
    ProjectionTransform effectValue(CGSize) const { return {std::nan(""), 0, 0, 0, 1, 0, 0, 0, 1}; }
};

static_assert(ui::GeometryEffect<Lean> && ui::Animatable<Lean>);
static_assert(ui::GeometryEffect<ui::ScaleEffect> && ui::Animatable<ui::ScaleEffect>);
static_assert(ui::GeometryEffect<ui::RotationEffect> && ui::Animatable<ui::RotationEffect>);
static_assert(ui::GeometryEffect<ui::Rotation3DEffect> && ui::Animatable<ui::Rotation3DEffect>);
static_assert(ui::GeometryEffect<ui::OffsetEffect> && ui::Animatable<ui::OffsetEffect>);

void expectNear(CGPoint actual, CGPoint expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

void expectNear(const CGRect& actual, const CGRect& expected, double tolerance = 1e-9) {
    expectNear(actual.origin, expected.origin, tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

CGRect rect(double x, double y, double w, double h) {
    return {{x, y}, {w, h}};
}

using Log = std::vector<std::string>;

ui::View tapped(ui::View view, std::shared_ptr<Log> log, std::string name) {
    return view.onTapGesture([log, name] { log->push_back(name); });
}

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}

} // namespace

TEST(GeometryEffectTest, ALibraryEffectMapsItsContentAboutWhereLayoutPutIt) {
    // A 20×10 box at (40, 45) in a 100×100 root, leaned by half a point per point of height.
    ui::TestHost host(box(20, 10, "a").modifier(Lean{0.5}), {100, 100});
    const auto* a = host.findByText("a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->frame(), rect(40, 45, 20, 10)) << "layout is untouched";
    // The effect works from the view's top leading corner: its bottom edge moves 5 points right.
    expectNear(CGPoint{60, 55}.applying(a->transformToRoot()), {65, 55});
    expectNear(CGPoint{40, 45}.applying(a->transformToRoot()), {40, 45});
    expectNear(host.frame(a), rect(40, 45, 25, 10));
    ASSERT_NE(host.findType<Lean>(), nullptr);
    EXPECT_EQ(host.findType<Lean>()->nodeAs<ui::detail::GeometryEffectNode<Lean>>()->value(), Lean{0.5});

    // The same through operator| and with the size layout gave the view.
    auto seen = std::make_shared<std::vector<CGSize>>();
    ui::TestHost probed(box(30, 12) | SizeProbe{seen}, {100, 100});
    probed.render();
    ASSERT_FALSE(seen->empty());
    EXPECT_EQ(seen->back(), (CGSize{30, 12}));
}

TEST(GeometryEffectTest, BuiltInEffectsKeepTheirAnchorInPlace) {
    const CGSize size{40, 20};
    const auto scale = ui::ScaleEffect{{2, 3}, ui::UnitPoint::bottomTrailing}.effectValue(size);
    expectNear(CGPoint{40, 20}.applying(scale), {40, 20});
    expectNear(CGPoint{30, 20}.applying(scale), {20, 20});
    expectNear(CGPoint{40, 10}.applying(scale), {40, -10});

    const auto quarter = ui::RotationEffect{std::numbers::pi / 2, ui::UnitPoint::center}.effectValue(size);
    expectNear(CGPoint{20, 10}.applying(quarter), {20, 10});
    // Clockwise on screen: the right side goes down.
    expectNear(CGPoint{40, 10}.applying(quarter), {20, 30});

    // About the z axis, the 3D turn is the flat one, whatever the perspective.
    const auto flat = ui::Rotation3DEffect{0.7, {0, 0, 1}, ui::UnitPoint::center, 0, 1}.effectValue(size);
    const auto same = ui::RotationEffect{0.7, ui::UnitPoint::center}.effectValue(size);
    for (CGPoint p : {CGPoint{0, 0}, CGPoint{40, 20}, CGPoint{13, 2}})
        expectNear(p.applying(flat), p.applying(same));

    const auto offset = ui::OffsetEffect{{5, -7}}.effectValue(size);
    expectNear(CGPoint{1, 1}.applying(offset), {6, -6});
}

TEST(GeometryEffectTest, A3DTurnForeshortensAndItsNearSideGrowsInPerspective) {
    const CGSize size{100, 50};
    const double angle = std::numbers::pi / 3; // cos = 0.5
    // Without perspective a turn about y only narrows the view about its anchor.
    const auto orthographic =
        ui::Rotation3DEffect{angle, {0, 1, 0}, ui::UnitPoint::center, 0, 0}.effectValue(size);
    EXPECT_TRUE(orthographic.isAffine());
    expectNear(CGPoint{100, 0}.applying(orthographic), {75, 0});
    expectNear(CGPoint{0, 50}.applying(orthographic), {25, 50});

    const auto seen = ui::Rotation3DEffect{angle, {0, 1, 0}, ui::UnitPoint::center, 0, 1}.effectValue(size);
    EXPECT_FALSE(seen.isAffine());
    expectNear(CGPoint{50, 25}.applying(seen), {50, 25}); // the anchor stays
    // One side turns away and shrinks, the other comes closer and grows.
    auto heightAt = [&](double x) {
        return CGPoint{x, 50}.applying(seen).y - CGPoint{x, 0}.applying(seen).y;
    };
    const double right = heightAt(100);
    const double left = heightAt(0);
    EXPECT_LT(std::min(left, right), 50);
    EXPECT_GT(std::max(left, right), 50);
    // A weaker perspective brings both sides closer to the flat size.
    const auto weak = ui::Rotation3DEffect{angle, {0, 1, 0}, ui::UnitPoint::center, 0, 0.2}.effectValue(size);
    const double weakRight = CGPoint{100, 50}.applying(weak).y - CGPoint{100, 0}.applying(weak).y;
    EXPECT_LT(std::abs(weakRight - 50), std::abs(right - 50));

    // Only the axis direction counts; no axis or a broken angle draws the view as it is.
    const auto longer = ui::Rotation3DEffect{angle, {0, 7, 0}, ui::UnitPoint::center, 0, 1}.effectValue(size);
    expectNear(CGPoint{100, 50}.applying(longer), CGPoint{100, 50}.applying(seen));
    EXPECT_TRUE((ui::Rotation3DEffect{angle, {0, 0, 0}}.effectValue(size).isIdentity()));
    EXPECT_TRUE((ui::Rotation3DEffect{std::nan(""), {1, 0, 0}}.effectValue(size).isIdentity()));
}

TEST(GeometryEffectTest, OffsetMovesWhatIsDrawnButNotTheLayout) {
    ui::TestHost host(
        ui::HStack(ui::VerticalAlignment::center, 0, {box(10, 10, "a").offset(30, 20), box(10, 10, "b")}),
        {100, 100});
    const auto* a = host.findByText("a");
    const auto* b = host.findByText("b");
    EXPECT_EQ(a->frame(), rect(40, 45, 10, 10));
    EXPECT_EQ(host.frame(a), rect(70, 65, 10, 10));
    EXPECT_EQ(host.frame(b), rect(50, 45, 10, 10));
    const QImage image = host.render();
    EXPECT_TRUE(isRed(image.pixel(75, 70)));
    EXPECT_FALSE(isRed(image.pixel(45, 50)));
}

TEST(GeometryEffectTest, NestedEffectsComposeInnermostFirst) {
    // Moved 10 to the right, then the whole doubled about the outer view's top leading corner.
    ui::TestHost host(ui::VStack({box(10, 10, "a").offset(10, 0)}).scaleEffect(2, ui::UnitPoint::topLeading),
                      {100, 100});
    const auto* a = host.findByText("a");
    // Layout: the box at (45, 45); the stack's corner at (45, 45) too.
    EXPECT_EQ(a->frame(), rect(45, 45, 10, 10));
    expectNear(host.frame(a), rect(65, 45, 20, 20));
}

TEST(GeometryEffectTest, ABrokenEffectDrawsTheContentAsItIs) {
    ui::TestHost host(box(20, 20, "a").modifier(Broken{}), {40, 40});
    EXPECT_EQ(host.frame(host.findByText("a")), rect(10, 10, 20, 20));
    EXPECT_TRUE(isRed(host.render().pixel(20, 20)));
}

TEST(GeometryEffectTest, TapsLandWhereTheEffectDrawsTheView) {
    struct Case {
        const char* name;
        std::function<ui::View(ui::View)> effect;
        CGPoint hit;
        CGPoint miss;
    };
    // A 20-point square at (90, 90) in a 200-point root.
    const std::vector<Case> cases{
        {"offset", [](ui::View v) { return v.offset(60, 0); }, {160, 100}, {100, 100}},
        {"scaled", [](ui::View v) { return v.scaleEffect(3); }, {75, 100}, {65, 100}},
        {"scaled to nothing", [](ui::View v) { return v.scaleEffect(0); }, {-1, -1}, {100, 100}},
        {"turned", [](ui::View v) { return v.rotationEffect(ui::Angle::degrees(45)); }, {100, 86}, {91, 91}},
        {"library effect", [](ui::View v) { return v.modifier(Lean{2}); }, {135, 109}, {92, 109}},
        {"in perspective",
         [](ui::View v) {
             return v.rotation3DEffect(ui::Angle::degrees(80), {0, 1, 0});
         },
         {100, 100},
         {91, 100}},
    };
    for (const auto& c : cases) {
        auto log = std::make_shared<Log>();
        ui::TestHost host(c.effect(tapped(box(20, 20), log, "square")), {200, 200});
        if (c.hit.x >= 0) {
            EXPECT_TRUE(host.tap(c.hit)) << c.name;
        }
        EXPECT_FALSE(host.tap(c.miss)) << c.name << ": nothing is drawn there";
        EXPECT_EQ(log->size(), c.hit.x >= 0 ? 1u : 0u) << c.name;
    }
}

TEST(GeometryEffectTest, ATapOnAnElementGoesWhereItShows) {
    auto log = std::make_shared<Log>();
    ui::TestHost host(
        ui::ZStack({tapped(box(200, 200), log, "back"), tapped(box(20, 20, "front"), log, "front")
                                                            .rotationEffect(ui::Angle::degrees(30))
                                                            .offset(70, 0)}),
        {200, 200});
    EXPECT_TRUE(host.tap(host.findByText("front")));
    EXPECT_EQ(*log, (Log{"front"}));
}

TEST(GeometryEffectTest, NothingBeyondTheHorizonTakesATap) {
    // A wide strip turned almost edge-on under a strong perspective: its far end passes behind
    // the eye, where the inverse map would find points of the strip mirrored.
    auto log = std::make_shared<Log>();
    ui::TestHost host(tapped(box(200, 20, "strip"), log, "strip")
                          .rotation3DEffect(ui::Angle::degrees(70), {0, 1, 0}, ui::UnitPoint::center, 0, 4),
                      {200, 200});
    ASSERT_NE(host.findByText("strip"), nullptr);
    const auto transform = host.findByText("strip")->transformToRoot();
    // The strip's left end comes towards the eye and passes behind it.
    EXPECT_FALSE(transform.mapInFront({0, 100}));
    ASSERT_TRUE(transform.mapInFront({200, 100}));
    int hits = 0;
    for (int x = 0; x < 200; x += 2) {
        const CGPoint screen{double(x), 100};
        auto inverse = transform;
        ASSERT_TRUE(inverse.invert());
        const auto back = inverse.mapInFront(screen);
        const bool onStrip = back && back->x >= 0 && back->x <= 200;
        if (host.tap(screen)) {
            ++hits;
            EXPECT_TRUE(onStrip) << "a tap at " << x << " landed on no visible part";
        }
    }
    EXPECT_GT(hits, 0);
}

TEST(GeometryEffectTest, AnchorsAndReadersFollowTheEffects) {
    struct BoundsKey {
        using Value = std::optional<ui::Anchor<CGRect>>;
        static Value defaultValue() { return std::nullopt; }
        static void reduce(Value& value, const std::function<Value()>& next) {
            if (!value) value = next();
        }
    };
    std::optional<CGRect> resolved;
    std::optional<ui::GeometryProxy> inner;
    ui::TestHost host(
        ui::ZStack({box(20, 10)
                        .anchorPreference(BoundsKey{}, ui::AnchorSource::bounds,
                                          [](ui::Anchor<CGRect> a) { return BoundsKey::Value(a); })
                        .scaleEffect(2)
                        .offset(30, 0),
                    ui::GeometryReader([&](const ui::GeometryProxy& proxy) {
                        inner = proxy;
                        return ui::View();
                    })
                        .frame(40, 20)
                        .rotationEffect(ui::Angle::degrees(90))})
            .frame(100, 100)
            .overlayPreferenceValue(BoundsKey{},
                                    [&](const BoundsKey::Value& anchor) {
                                        return ui::View(
                                            ui::GeometryReader([&, anchor](const ui::GeometryProxy& proxy) {
                                                if (anchor) resolved = proxy[*anchor];
                                                return ui::View();
                                            }));
                                    }),
        {100, 100});
    // The box's layout place is (40, 45, 20, 10): doubled about its centre, then moved 30 right.
    ASSERT_TRUE(resolved);
    expectNear(*resolved, rect(60, 40, 40, 20));
    // The turned reader shows upright: its bounds stand 20 wide and 40 high about the centre.
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->size(), (CGSize{40, 20}));
    expectNear(inner->globalFrame(), rect(40, 30, 20, 40));
    // A global point resolves into the turned reader's own coordinates.
    expectNear(inner->operator[](ui::Anchor<CGPoint>({60, 30})), {0, 0});
}
