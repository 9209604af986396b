#include "ParticleTestSupport.h"

#include "Flair/Rise.h"
#include "Flair/Spring.h"
#include "ui/Color.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/State.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace flairtest;
using Item = Flair::RisingParticleSimulation::Item;
using Rise = Flair::RisingParticleSimulation;
using graphics::CGRect;
using graphics::CGSize;

namespace {

const Flair::Spring factorySpring{1.0, 30.0, 1.0};
const ui::Color blue(0.1, 0.25, 0.95);
const CGSize canvas{180, 140}; // a 100 × 40 card with the overhang

std::vector<Item> rising(const ui::TestHost& host) {
    const ui::Element* e = host.findType<Rise>();
    const auto* box = e ? e->findSlot<ui::detail::StateBox<std::vector<Item>>>("items") : nullptr;
    return box ? box->value : std::vector<Item>{};
}

struct RiseScene {
    Trigger trigger;
    ui::TestHost host;
    explicit RiseScene(ui::UnitPoint origin, ui::View particles = ui::Rectangle().fill(blue).frame(8, 8))
        : host(trigger(ui::Rectangle().fill(blue).frame(100, 40),
                       Flair::AnyChangeEffect::rise(origin, [particles] { return particles; }))
                   .position(150, 150),
               {300, 300}) {}
};

} // namespace

TEST(RiseTest, TheSpringCarriesAParticleToRestInSeventyEightFramesOfASixtieth) {
    std::vector<Item> items{{fixedID(1), 0, 0, 1}};
    Item last;
    int steps = 0;
    while (!items.empty() && steps < 500) {
        last = items[0];
        Rise::step(items, 1.0 / 60, factorySpring, 1.0);
        ++steps;
    }
    EXPECT_EQ(steps, 78);
    const auto removed = Flair::springStep({last.progress, last.velocity}, 1.0, factorySpring, 1.0 / 60);
    EXPECT_NEAR(removed.position, 0.991, 5e-4);
    EXPECT_NEAR(removed.velocity, 0.038, 5e-4);

    // A removal leaves the others stepped once each.
    std::vector<Item> two{{fixedID(2), 0.995, 0.01, 1}, {fixedID(3), 0, 0, 2}};
    Rise::step(two, 1.0 / 60, factorySpring, 1.0);
    ASSERT_EQ(two.size(), 1u);
    EXPECT_EQ(two[0].id, fixedID(3));
    EXPECT_DOUBLE_EQ(two[0].progress, Flair::springStep({0, 0}, 1.0, factorySpring, 1.0 / 60).position);
}

TEST(RiseTest, ParticlesFadeRiseAndGrowAndTakeTheImagesInTurn) {
    auto backend = std::make_shared<ui::RecordingGraphicsBackend>();
    auto ctx = recordingContext(backend, 3);
    std::vector<Item> items;
    for (int change = 1; change <= 4; ++change)
        items.push_back({fixedID(std::uint8_t(change)), 0.5, 0, change});
    items.push_back({fixedID(9), 0, 0, 5});
    Rise::drawParticles(ctx, canvas, items);

    const auto drawn = draws(*backend);
    ASSERT_EQ(drawn.size(), 5u);
    EXPECT_EQ(drawn[0].subject, "symbol(0)");
    EXPECT_EQ(drawn[1].subject, "symbol(1)");
    EXPECT_EQ(drawn[2].subject, "symbol(2)");
    EXPECT_EQ(drawn[3].subject, "symbol(0)") << "the fourth change starts over";
    std::vector<double> opacities;
    for (const auto& c : backend->commands())
        if (c.name == "beginLayer") opacities.push_back(c.state.opacity);
    ASSERT_EQ(opacities.size(), 5u);
    EXPECT_DOUBLE_EQ(opacities[0], 1) << "fully shown half way";
    EXPECT_DOUBLE_EQ(opacities[4], 0) << "invisible at birth";

    const QPointF centre(90, (140 - 100) / 2.0 + 80); // the card's centre in the canvas
    for (int i = 0; i < 4; ++i) {
        const QTransform t = drawn[i].state.transform.toQTransform();
        EXPECT_NEAR(std::hypot(t.m11(), t.m12()), 1.1, 1e-9) << "grown by a tenth half way";
        const QPointF rise = drawnCentre(drawn[i]) - centre;
        EXPECT_GT(rise.y(), -36) << i;
        EXPECT_LT(rise.y(), -24) << "25 points up, plus up to 10, tilted a little: " << i;
        EXPECT_LT(std::abs(rise.x()), 21) << i;
    }
    const QTransform born = drawn[4].state.transform.toQTransform();
    EXPECT_NEAR(std::hypot(born.m11(), born.m12()), 1, 1e-9);

    // The same picture again, frame after frame and run after run.
    auto again = std::make_shared<ui::RecordingGraphicsBackend>();
    auto ctx2 = recordingContext(again, 3);
    Rise::drawParticles(ctx2, canvas, items);
    EXPECT_EQ(again->descriptions(), backend->descriptions());
    EXPECT_EQ(backend->descriptions()[1],
              "draw -5 -5 10 10 symbol(0) | transform(1.09835 -0.0602281 0.0602281 1.09835 93.4972 71.7882)");

    auto none = std::make_shared<ui::RecordingGraphicsBackend>();
    auto empty = recordingContext(none, 0);
    Rise::drawParticles(empty, canvas, items);
    EXPECT_TRUE(none->commands().empty()) << "no symbols, nothing drawn";
}

TEST(RiseTest, ChangesSpawnParticlesThatStepWithTheFramesAndRiseFromTheOrigin) {
    RiseScene centre(ui::UnitPoint::center);
    EXPECT_EQ(ui::TestHost::frame(centre.host.findByTypeName("Canvas")), (CGRect{{60, 50}, {180, 140}}));
    RiseScene top(ui::UnitPoint::top);
    EXPECT_EQ(ui::TestHost::frame(top.host.findByTypeName("Canvas")), (CGRect{{60, 30}, {180, 140}}))
        << "the card's centre moved onto its top edge";

    for (int i = 0; i < 3; ++i) {
        centre.trigger.change(centre.host);
        centre.host.stepFrame(0.05);
    }
    auto items = rising(centre.host);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].change, 3);
    EXPECT_GT(items[0].progress, items[2].progress);

    centre.host.stepFrame();
    items = rising(centre.host);
    EXPECT_EQ(centre.host.graph().lastPassCount(), 1) << "a frame steps within its own layout pass";
    centre.host.stepFrame(0.5);
    const auto expected =
        Flair::springStep({items[0].progress, items[0].velocity}, 1.0, factorySpring, 1.0 / 30);
    EXPECT_DOUBLE_EQ(rising(centre.host)[0].progress, expected.position) << "a long gap steps 1/30 s only";

    advance(centre.host, 1.5);
    EXPECT_TRUE(rising(centre.host).empty());
    EXPECT_FALSE(centre.host.frameClock().hasSubscribers()) << "at rest the timeline pauses";
}

TEST(RiseTest, AFrameThatOnlyMovesParticlesDrawsThemAnewWithoutEvaluatingTheEffectAgain) {
    RiseScene s(ui::UnitPoint::center);
    s.trigger.change(s.host);
    s.host.stepFrame();
    const ui::Element* rise = s.host.findType<Rise>();
    const int evaluations = ui::TestHost::evaluationCount(rise);
    const auto before = painted(s.host);
    const double progress = rising(s.host).at(0).progress;
    const ui::ViewNode* canvas = &s.host.findByTypeName("Canvas")->node();
    s.host.stepFrame();
    EXPECT_GT(rising(s.host).at(0).progress, progress) << "the state moves on";
    EXPECT_EQ(&s.host.findByTypeName("Canvas")->node(), canvas) << "one canvas draws every frame";
    const auto after = painted(s.host);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after.back().path.boundingRect(), before.back().path.boundingRect()) << "drawn where it is now";
    EXPECT_EQ(ui::TestHost::evaluationCount(rise), evaluations);

    advance(s.host, 1.5);
    EXPECT_TRUE(rising(s.host).empty());
    EXPECT_GT(ui::TestHost::evaluationCount(rise), evaluations) << "a removal is a change of the view";
    EXPECT_FALSE(s.host.frameClock().hasSubscribers());
}

TEST(RiseTest, AParticleViewWithoutChildrenDrawsNothingButStillSteps) {
    RiseScene s(ui::UnitPoint::center, ui::View());
    s.trigger.change(s.host);
    advance(s.host, 0.5);
    EXPECT_EQ(rising(s.host).size(), 1u);
    EXPECT_EQ(painted(s.host).size(), 1u) << "the card only";
    advance(s.host, 1.0);
    EXPECT_TRUE(rising(s.host).empty());
}
