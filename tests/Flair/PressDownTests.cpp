// The press-down effect on a card under a condition.
#include "SimulatedEffectHost.h"

#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace flairtest;

namespace {

// The card pressed while its condition holds; `other` changes nothing the effect sees.
struct Pressed {
    ProbePtr probe;
    ui::View body(ui::ViewContext& ctx) const {
        probe->condition = ctx.state<bool>("condition", false);
        probe->value = ctx.state<int>("other", 0);
        return card() |
               Flair::conditionalEffect(Flair::AnyConditionalEffect::pressDown(), probe->condition->value());
    }
};

struct PressHost : EffectHost {
    explicit PressHost(ProbePtr p = std::make_shared<Probe>())
        : EffectHost(ui::View(Pressed{p}), p) {}
    ui::Element* shown() const { return host.find("card"); }
    double scale() const { return ui::TestHost::frame(shown()).size.width / 40; }
    void press(bool on) {
        probe->condition->set(on);
        host.update();
    }
};

} // namespace

TEST(PressDownTest, PressesWithAQuickSpringAndReleasesWithASlowerOne) {
    PressHost h;
    const auto rest = ui::TestHost::frame(h.shown());
    const auto press = ui::Animation::interactiveSpring(0.2, 0.4, 0.25);
    const auto release = ui::Animation::interactiveSpring(0.3, 0.4, 0.6);
    for (bool on : {true, false}) {
        const auto& spring = on ? press : release;
        const double from = on ? 1 : 0.95, to = on ? 0.95 : 1;
        const double run = spring.runDuration(std::hypot(0.05, 0.05), 0);
        h.press(on);
        double elapsed = 0;
        for (double t : {0.05, 0.1, 0.2}) {
            h.host.stepFrame(t - elapsed);
            elapsed = t;
            EXPECT_NEAR(h.scale(), to + (from - to) * spring.sample(t, run).c1, 1e-9) << on << " at " << t;
            const auto shown = ui::TestHost::frame(h.shown());
            EXPECT_NEAR(shown.midX(), rest.midX(), 1e-9);
            EXPECT_NEAR(shown.midY(), rest.midY(), 1e-9);
            EXPECT_NEAR(shown.size.height / 20, h.scale(), 1e-9);
        }
        EXPECT_GT(h.runToRest(), 0);
        EXPECT_NEAR(h.scale(), to, 1e-12);
    }
}

TEST(PressDownTest, JumpsWithoutAnimationAndKeepsNoState) {
    PressHost h;
    ui::Transaction disabling;
    disabling.disablesAnimations = true;
    ui::withTransaction(disabling, [&] { h.probe->condition->set(true); });
    h.host.update();
    EXPECT_NEAR(h.scale(), 0.95, 1e-12) << "animations disabled: it jumps";
    EXPECT_FALSE(h.isRunning());

    const QImage pressed = h.host.render();
    h.probe->value->set(1); // the effect is built again with the same flag
    h.host.update();
    EXPECT_FALSE(h.isRunning());
    EXPECT_EQ(h.host.render(), pressed);
}
