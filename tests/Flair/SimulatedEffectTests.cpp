// The shake, wiggle, jump and spin on a card, driven by the test host's frames.
#include "SimulatedEffectHost.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "Flair/FrameInterval.h"
#include "Flair/JumpSimulation.h"
#include "Flair/JumpSimulationModifier.h"
#include "Flair/ShakeSimulation.h"
#include "Flair/ShakeSimulationModifier.h"
#include "Flair/SpinSimulation.h"
#include "Flair/SpinSimulationModifier.h"
#include "Flair/SquishOffset.h"
#include "Flair/Transform3DEffect.h"
#include "Flair/WiggleSimulationModifier.h"
#include "foundation/RunLoop.h"
#include "ui/DisplayList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <variant>
#include <vector>

using namespace flairtest;

namespace {

using Effect = Flair::AnyChangeEffect;
constexpr double pi = std::numbers::pi;
constexpr double degree = pi / 180;
constexpr double thirtieth = 1.0 / 30;

template <class M> Flair::ShakeSimulation shakeState(const EffectHost& h) {
    return h.state<M, Flair::ShakeSimulation>("simulation");
}
Flair::JumpSimulation jumpState(const EffectHost& h) {
    return h.state<Flair::JumpSimulationModifier, Flair::JumpSimulation>("jump");
}
Flair::SpinSimulation spinState(const EffectHost& h) {
    return h.state<Flair::SpinSimulationModifier, Flair::SpinSimulation>("spin");
}

// Frames of 1/30 s from a kick until its counter has run down: still running one frame short
// of `seconds`, done one frame after.
template <class M> void expectRunsDownIn(EffectHost& h, double seconds, const std::string& what) {
    const int frames = int(std::lround(seconds / thirtieth));
    for (int i = 0; i < frames - 1; ++i)
        h.host.stepFrame(thirtieth);
    EXPECT_GT(shakeState<M>(h).count, 0) << what;
    h.host.stepFrame(thirtieth);
    h.host.stepFrame(thirtieth);
    EXPECT_EQ(shakeState<M>(h).count, 0) << what;
}

template <class M> void expectCounterRunsDown(Effect effect, double seconds, const std::string& what) {
    EffectHost h(std::move(effect));
    EXPECT_EQ(shakeState<M>(h).count, 0);
    EXPECT_FALSE(h.isRunning()) << what << ": paused before the first change";
    h.kick();
    EXPECT_EQ(shakeState<M>(h).count, 2) << what;
    expectRunsDownIn<M>(h, seconds, what);
}

// The card, wiggled by a repeating conditional effect that plays once at the start.
struct ConditionalWiggle {
    ui::View body(ui::ViewContext&) const {
        return card() |
               Flair::conditionalEffect(Flair::AnyConditionalEffect::repeat(Effect::wiggle(), 100), true);
    }
};

} // namespace

TEST(ShakeEffectTest, TheCounterRunsDownOverThePhaseLength) {
    using Rate = Effect::ShakeRate;
    using WRate = Effect::WiggleRate;
    using Shake = Flair::ShakeSimulationModifier;
    using Wiggle = Flair::WiggleSimulationModifier;
    expectCounterRunsDown<Shake>(Effect::shake(), 0.8, "shake");
    expectCounterRunsDown<Shake>(Effect::shake(Rate::fast()), 0.3, "shake fast");
    expectCounterRunsDown<Shake>(Effect::shake(Rate::phaseLength(1.2)), 1.2, "shake 1.2");
    expectCounterRunsDown<Wiggle>(Effect::wiggle(), 0.8, "wiggle");
    expectCounterRunsDown<Wiggle>(Effect::wiggle(WRate::fast()), 0.3, "wiggle fast");
    expectCounterRunsDown<Wiggle>(Effect::wiggle(WRate::phaseLength(1.2)), 1.2, "wiggle 1.2");

    EffectHost conditional{ui::View(ConditionalWiggle{})};
    EXPECT_EQ(shakeState<Wiggle>(conditional).count, 6) << "under a conditional effect a kick lasts longer";
    expectRunsDownIn<Wiggle>(conditional, 2.4, "three phase lengths");
    conditional.host.setRoot(ui::View());
    conditional.host.update();
    foundation::RunLoop::main().advance(200); // the pending repeat fires here, not in a later test
}

TEST(ShakeEffectTest, FramesStepAtMostAThirtiethAndADateGoneBackDoesNotStopIt) {
    using Shake = Flair::ShakeSimulationModifier;
    EffectHost h(Effect::shake());
    h.kick();
    h.host.stepFrame(0.5);
    EXPECT_DOUBLE_EQ(shakeState<Shake>(h).count, 2 - 2 * (Flair::maximumFrameInterval / 0.8));
    for (int i = 0; i < 5; ++i)
        h.host.stepFrame(thirtieth);
    EXPECT_NEAR(shakeState<Shake>(h).count, 1.5, 1e-12);
    h.kick();
    EXPECT_NEAR(shakeState<Shake>(h).count, 2.5, 1e-12) << "a running shake keeps its phase";

    const auto before = shakeState<Shake>(h);
    h.host.clock().set(h.host.clock().now() - 5);
    h.host.stepFrame();
    EXPECT_EQ(shakeState<Shake>(h), before) << "a frame dated earlier steps by 0";
    h.kick();
    const double kicked = shakeState<Shake>(h).count;
    std::vector<double> shown;
    for (int i = 0; i < 20; ++i) {
        h.host.stepFrame();
        shown.push_back(shakeState<Shake>(h).displacement);
    }
    EXPECT_NEAR(shakeState<Shake>(h).count, kicked - 2 * (20.0 / 60 / 0.8), 1e-9)
        << "the next change still shakes";
    EXPECT_GT(*std::max_element(shown.begin(), shown.end()) - *std::min_element(shown.begin(), shown.end()),
              5);
}

TEST(ShakeEffectTest, ShakesInDepthWigglesInPlaneAndPausesSoonAfter) {
    EffectHost h(Effect::shake());
    h.kick();
    h.host.stepFrames(8);
    const double d = shakeState<Flair::ShakeSimulationModifier>(h).displacement;
    ASSERT_GT(std::abs(d), 1);
    const auto shown = h.effect<Flair::Transform3DEffect>();
    const double half = d * 0.5 * degree / 2;
    EXPECT_EQ(shown.trs().translation, (Flair::Vector3{d, 0, -20}));
    EXPECT_NEAR(shown.trs().rotation.iy, std::sin(half), 1e-15);
    EXPECT_NEAR(shown.trs().rotation.r, std::cos(half), 1e-15);
    EXPECT_EQ(shown.trs().rotation.ix, 0);
    EXPECT_EQ(shown.trs().rotation.iz, 0);
    EXPECT_EQ(shown.anchor(), (Flair::Anchor3D{ui::UnitPoint::center, -20}));
    EXPECT_EQ(shown.perspective(), 1.0 / 6);

    const auto wiggled = Flair::WiggleSimulationModifier::effect(16).trs().rotation;
    EXPECT_NEAR(2 * std::atan2(wiggled.iz, wiggled.r), 8 * degree, 1e-15) << "16 turns it 8°";

    const int frames = h.runToRest() + 8;
    EXPECT_GT(frames, 48) << "runs past its phase length while the follower settles";
    EXPECT_LE(frames, 90);
    EXPECT_EQ(shakeState<Flair::ShakeSimulationModifier>(h), Flair::ShakeSimulation{});
}

TEST(JumpEffectTest, JumpsToItsHeightAndSquashesOnItsBottomEdge) {
    EffectHost h(Effect::jump(20));
    const auto rest = ui::TestHost::frame(h.host.find("card"));
    h.kick();
    EXPECT_NEAR(-jumpState(h).velocity, 309.06, 0.005);
    double highest = 0;
    bool squashed = false;
    for (int frame = 0; frame < 120; ++frame) {
        h.host.stepFrame();
        const auto jump = jumpState(h);
        if (jump.velocity < 0 && !squashed) highest = std::min(highest, jump.displacement);
        if (jump.displacement > 1 && !squashed) {
            squashed = true;
            const auto shown = ui::TestHost::frame(h.host.find("card"));
            EXPECT_LT(shown.size.height, rest.size.height);
            EXPECT_GT(shown.size.width, rest.size.width);
            EXPECT_NEAR(shown.maxY(), rest.maxY(), 1e-9) << "the bottom edge stays";
            EXPECT_NEAR(shown.midX(), rest.midX(), 1e-9);
            EXPECT_NEAR(shown.size.width * shown.size.height, rest.size.width * rest.size.height, 1e-9);
        }
    }
    EXPECT_GE(-highest, 18);
    EXPECT_LE(-highest, 20);
    EXPECT_TRUE(squashed);
    EXPECT_GT(h.runToRest(), 0);
    EXPECT_EQ(h.effect<Flair::SquishOffset>().displacement, 0);

    for (double height :
         {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
        EffectHost odd(Effect::jump(height));
        odd.kick();
        EXPECT_FALSE(odd.isRunning()) << height << " does not jump";
        odd.host.stepFrames(3);
        EXPECT_EQ(odd.effect<Flair::SquishOffset>().displacement, 0);
    }
}

TEST(SpinEffectTest, SpinsAtTheRatesSpeedAndRestsOnTheNextWholeTurn) {
    using Spin = Flair::SpinSimulationModifier;
    for (double hz : {30.0, 60.0, 120.0}) {
        EffectHost h(Effect::spin());
        h.kick();
        EXPECT_EQ((spinState(h).velocity), 360);
        EXPECT_GT(h.runToRest(1 / hz), 0);
        EXPECT_EQ((spinState(h).angle), 360) << hz << " Hz";
        h.kick();
        EXPECT_GT(h.runToRest(1 / hz), 0);
        EXPECT_EQ((spinState(h).angle), 720) << "never wrapped";
        const auto shown = h.effect<Flair::ShadedTransform3DEffect>();
        EXPECT_NEAR(Flair::shadeBrightness(shown.animatableData.first, shown.lightSource), 0, 1e-15);
    }
    {
        EffectHost h(Effect::spin());
        h.kick();
        h.host.stepFrame(0.5);
        EXPECT_NEAR(spinState(h).angle, 360 * thirtieth, 1e-12) << "a long tick steps 1/30 s";
        const auto before = spinState(h);
        h.host.clock().set(h.host.clock().now() - 1);
        h.host.stepFrame();
        EXPECT_EQ(spinState(h).angle, before.angle) << "a tick dated earlier steps 0";
        EXPECT_EQ(spinState(h).velocity, before.velocity);
    }
    EffectHost h(Effect::spin({1, 0, 0}, ui::UnitPoint::top, 10, 0.5, 0.02, Effect::SpinRate::fast()));
    h.kick();
    h.host.stepFrames(3);
    const auto spin = h.effect<Spin>();
    EXPECT_EQ(spin.axis, (Flair::Vector3{1, 0, 0}));
    const auto shown = h.effect<Flair::ShadedTransform3DEffect>();
    EXPECT_EQ(shown.animatableData.second,
              (ui::AnimatablePair<Flair::Anchor3D, double>{{ui::UnitPoint::top, 10}, 0.5}));
    EXPECT_EQ(shown.animatableData.first.translation, (Flair::Vector3{0, 0, 10}));
    EXPECT_NE(Flair::shadeBrightness(shown.animatableData.first, shown.lightSource), 0)
        << "turned, it is shaded";
}

TEST(SimulatedEffectTest, AtRestEveryTimelineIsPaused) {
    const std::vector<std::pair<std::string, Effect>> effects = {{"shake", Effect::shake()},
                                                                 {"wiggle", Effect::wiggle()},
                                                                 {"glow", Effect::glow()},
                                                                 {"jump", Effect::jump(20)},
                                                                 {"spin", Effect::spin()}};
    for (const auto& [name, effect] : effects) {
        EffectHost h(effect);
        h.kick();
        ASSERT_TRUE(h.isRunning()) << name;
        EXPECT_GT(h.runToRest(), 0) << name;
        const ui::Element* card = h.host.find("card");
        const int cardEvaluations = ui::TestHost::evaluationCount(card);
        const auto all = h.host.findAll([](const ui::Element&) { return true; });
        int evaluations = 0;
        for (const ui::Element* e : all)
            evaluations += ui::TestHost::evaluationCount(e);
        h.host.stepFrames(60);
        int after = 0;
        for (const ui::Element* e : h.host.findAll([](const ui::Element&) { return true; }))
            after += ui::TestHost::evaluationCount(e);
        EXPECT_EQ(after, evaluations) << name;
        EXPECT_EQ(ui::TestHost::evaluationCount(card), cardEvaluations) << name;
    }
}

namespace {

// A card turned about y by a quarter turn or not, shaded by the spin's light.
struct Turned {
    std::shared_ptr<std::optional<ui::State<bool>>> turned;
    ui::View body(ui::ViewContext& ctx) const {
        *turned = ctx.state<bool>("turned", false);
        const Flair::Transform3DEffect turn({0, 0, 0}, turned->value().value() ? pi / 2 : 0, {0, 1, 0},
                                            {1, 1, 1}, ui::UnitPoint::center, 0, 0);
        return card().modifier(
            Flair::ShadedTransform3DEffect(turn, Flair::SpinSimulationModifier::lightSource));
    }
};

std::optional<double> drawnBrightness(const ui::DisplayList& list) {
    for (const auto& item : list.items()) {
        const auto* layer = std::get_if<ui::DisplayList::Layer>(&item);
        if (!layer) continue;
        for (const auto& filter : layer->style.colorFilters)
            if (filter.kind == ui::ColorFilter::Kind::brightness) return filter.amount;
        if (auto inner = drawnBrightness(*layer->content)) return inner;
    }
    return std::nullopt;
}

} // namespace

TEST(ShadedTransform3DEffectTest, TheShadeFollowsTheTransformAsItIsShown) {
    auto turned = std::make_shared<std::optional<ui::State<bool>>>();
    ui::TestHost host(ui::View(Turned{turned}).frame(200, 200), {200, 200});
    EXPECT_EQ(drawnBrightness(host.graph().displayList()), std::nullopt) << "facing the viewer: no shade";
    ui::withAnimation(ui::Animation::linear(1), [&] { turned->value().set(true); });
    host.update();
    host.stepFrame(0.5);
    Flair::TRS halfway = Flair::Transform3DEffect({0, 0, 0}, 0, {0, 1, 0}, {1, 1, 1}, {}, 0, 0).trs();
    const Flair::TRS end = Flair::Transform3DEffect({0, 0, 0}, pi / 2, {0, 1, 0}, {1, 1, 1}, {}, 0, 0).trs();
    halfway += ui::scaled(end - halfway, 0.5);
    const auto shade = drawnBrightness(host.graph().displayList());
    ASSERT_TRUE(shade);
    EXPECT_NEAR(*shade, Flair::shadeBrightness(halfway, Flair::SpinSimulationModifier::lightSource), 1e-9);
    EXPECT_LT(*shade, 0);
    host.stepFrame(0.6);
    EXPECT_NEAR(*drawnBrightness(host.graph().displayList()), -0.1, 1e-9) << "edge on, lit from the side";
}
