#include "Flair/Boing.h"
#include "Flair/ProgressableAnimation.h"
#include "Flair/Scaled.h"
#include "Flair/Skid.h"

#include "graphics/CGRect.h"
#include "ui/Animation.h"
#include "ui/AnyTransition.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Transaction.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using Flair::Scaled;
using Flair::Skid;
using SkidDirection = Flair::AnyTransition::Ostravelle::SkidDirection;

namespace {

using Pair = ui::AnimatablePair<double, double>;

// A custom modifier animating a pair, which draws nothing of its own.
struct PairModifier {
    Pair animatableData;
    ui::View body(ui::ViewContext&, ui::View content) const { return content; }
    bool operator==(const PairModifier&) const = default;
};

// Shows a card, inserted or removed with `transition`, as the state "show" says.
struct Stage {
    std::shared_ptr<std::optional<ui::State<bool>>> show;
    ui::AnyTransition transition;
    ui::View body(ui::ViewContext& ctx) const {
        auto state = ctx.state<bool>("show", false);
        *show = state;
        const ui::View card = ui::View(ui::Color(0, 0, 1)).frame(40, 20).id("card").transition(transition);
        return ui::ConditionalContent(*state, card).frame(200, 100);
    }
};

} // namespace

TEST(ScaledTest, PresentsSixtyFourTimesTheModifiersData) {
    Scaled<Skid> skid{Skid{SkidDirection::leading, 0.25}};
    EXPECT_EQ(skid.animatableData(), 16);
    skid.setAnimatableData(32);
    EXPECT_EQ(skid.base.animatableData, 0.5);
    EXPECT_EQ(skid.animatableData(), 32);
    static_assert(Flair::ProgressableAnimation<Scaled<Skid>>);
    static_assert(Flair::ProgressableAnimation<Scaled<Flair::Boing>>);

    Scaled<PairModifier> pair{PairModifier{{0.5, -0.25}}};
    EXPECT_EQ(pair.animatableData(), Pair(32, -16));
    pair.setAnimatableData(Pair(64, 8));
    EXPECT_EQ(pair.base.animatableData, Pair(1, 0.125));
    static_assert(ui::Animatable<Scaled<PairModifier>>);
    static_assert(ui::CustomModifier<Scaled<PairModifier>>);
    static_assert(!Flair::ProgressableAnimation<Scaled<PairModifier>>);
    static_assert(!Flair::ProgressableAnimation<Skid>);
}

TEST(ScaledTest, TheEngineAnimatesTheScaledValueAndTheEffectSeesItsOwn) {
    auto show = std::make_shared<std::optional<ui::State<bool>>>();
    const auto skid = [](double p) { return Scaled<Skid>{Skid{SkidDirection::leading, p}}; };
    ui::TestHost host(ui::View(Stage{show, ui::AnyTransition::modifier(skid(0), skid(1))}), {200, 100});
    ui::withAnimation(ui::Animation::linear(1), [&] { (*show)->set(true); });
    host.update();
    const graphics::CGRect rest = host.find("card")->frame();

    // Halfway the skid sees 0.5: two widths times 0.5 to the left, leaning by 0.5 (x + 0.5 y − 60).
    host.stepFrame(0.5);
    const graphics::CGRect halfway = ui::TestHost::frame(host.find("card"));
    EXPECT_NEAR(halfway.minX(), rest.minX() - 60, 1e-6);
    EXPECT_NEAR(halfway.width(), 50, 1e-6);
    EXPECT_NEAR(halfway.height(), 20, 1e-6);

    host.stepFrame(0.25);
    const graphics::CGRect later = ui::TestHost::frame(host.find("card"));
    EXPECT_NEAR(later.minX(), rest.minX() - 40, 1e-6); // o = −20, still leaning: −20 − 0.5 · 40
    host.stepFrame(0.3);
    EXPECT_EQ(ui::TestHost::frame(host.find("card")), rest);
}
