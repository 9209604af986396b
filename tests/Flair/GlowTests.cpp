// The glow as drawn for an amount, the pulsing glow on changes and the steady glow under a
// condition.
#include "SimulatedEffectHost.h"

#include "Flair/AnyChangeEffect.h"
#include "Flair/AnyConditionalEffect.h"
#include "Flair/ConditionalEffect.h"
#include "Flair/ContinuousGlowModifier.h"
#include "Flair/GlowModifier.h"
#include "Flair/GlowPulse.h"
#include "Flair/PulseGlowModifier.h"
#include "ui/DisplayList.h"
#include "ui/Material.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/Stack.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

using namespace flairtest;

namespace {

const ui::Color red(1, 0, 0);

// What the glow put into the display list.
struct Drawn {
    std::vector<ui::Shadow> shadows; // innermost first
    std::vector<double> brightness;  // outermost first
    std::optional<double> washOpacity;
};

void collect(const ui::DisplayList& list, Drawn& drawn, bool inWash) {
    for (const auto& item : list.items()) {
        if (const auto* fill = std::get_if<ui::DisplayList::Fill>(&item); fill && inWash)
            drawn.washOpacity = fill->brush.color().alphaF();
        const auto* layer = std::get_if<ui::DisplayList::Layer>(&item);
        if (!layer) continue;
        if (layer->style.shadow) drawn.shadows.insert(drawn.shadows.begin(), *layer->style.shadow);
        for (const auto& filter : layer->style.colorFilters)
            if (filter.kind == ui::ColorFilter::Kind::brightness) drawn.brightness.push_back(filter.amount);
        collect(*layer->content, drawn,
                inWash || layer->style.blendMode == QPainter::CompositionMode_SourceAtop);
    }
}

Drawn drawn(const ui::TestHost& host) {
    Drawn result;
    collect(const_cast<ui::TestHost&>(host).graph().displayList(), result, false);
    return result;
}

QImage rendered(ui::View view) {
    ui::TestHost host(view.frame(120, 100), {120, 100});
    return host.render();
}

QImage glowing(double amount) {
    return rendered(card().modifier(Flair::GlowModifier{amount, red, 10}));
}

// What a view inside sees of the background material.
struct MaterialReader {
    std::shared_ptr<std::optional<ui::Material>> seen;
    ui::View body(ui::ViewContext& ctx) const {
        *seen = ctx.environment<ui::BackgroundMaterialKey>();
        return card();
    }
};

// The card under a conditional effect whose condition is a state of the view.
struct Switched {
    ProbePtr probe;
    Flair::AnyConditionalEffect effect;
    ui::View body(ui::ViewContext& ctx) const {
        probe->condition = ctx.state<bool>("condition", false);
        return card() | Flair::conditionalEffect(effect, probe->condition->value());
    }
};

// The amount the glow draws, read back from its widest shadow.
double shownAmount(const ui::TestHost& host, double radius) {
    const auto shadows = drawn(host).shadows;
    return shadows.empty() ? std::numeric_limits<double>::quiet_NaN() : shadows.back().radius / (2 * radius);
}

} // namespace

TEST(GlowTest, TheAmountSetsTheWashTheHaloAndTheBrightness) {
    const double s = std::sqrt(0.7);
    const double opacities[] = {s / 1.2, s * 0.25, s * 0.125, s * 0.0625};
    const double radii[] = {0.7 * 10 * 0.25, 0.7 * 10 * 0.5, 0.7 * 10, 0.7 * 10 * 2};
    const auto look = Flair::GlowModifier{0.7, red, 10}.look();
    EXPECT_EQ(look.washOpacity, 0.7743336018174887);
    EXPECT_EQ(look.washBrightness, 0.7743336018174887 * 0.1);
    EXPECT_EQ(look.brightness, 0.7743336018174887 * 0.25);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(look.shadows[i].opacity, opacities[i]) << i;
        EXPECT_DOUBLE_EQ(look.shadows[i].radius, radii[i]) << i;
    }

    ui::TestHost host(card().modifier(Flair::GlowModifier{0.7, red, 10}), {200, 200});
    const Drawn shown = drawn(host);
    ASSERT_EQ(shown.shadows.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(shown.shadows[i].radius, radii[i]) << i;
        EXPECT_NEAR(shown.shadows[i].color.alphaF(), std::min(opacities[i], 1.0), 1e-4) << i;
        EXPECT_EQ(shown.shadows[i].color.red(), 255);
    }
    EXPECT_EQ(shown.brightness, (std::vector<double>{look.brightness, look.washBrightness}));
    ASSERT_TRUE(shown.washOpacity);
    EXPECT_NEAR(*shown.washOpacity, 0.7743336018174887, 1e-4);

    EXPECT_EQ((Flair::GlowModifier{2, red, 10}.look()), (Flair::GlowModifier{1.5, red, 10}.look()));
    EXPECT_EQ(glowing(2), glowing(1.5)) << "amounts above 1.5 draw as 1.5";
    const QImage plain = rendered(card());
    for (double amount : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ((Flair::GlowModifier{amount, red, 10}.look()), Flair::GlowModifier::Look{}) << amount;
        EXPECT_EQ(glowing(amount), plain) << amount << " draws the card's pixels alone";
    }
    EXPECT_NE(glowing(0.7), plain);

    auto inside = std::make_shared<std::optional<ui::Material>>();
    auto beside = std::make_shared<std::optional<ui::Material>>();
    ui::TestHost materials(
        ui::HStack({ui::View(MaterialReader{inside}).modifier(Flair::GlowModifier{0.7, red, 10}),
                    ui::View(MaterialReader{beside})})
            .environment<ui::BackgroundMaterialKey>(ui::Material::thin),
        {200, 100});
    EXPECT_EQ(*beside, ui::Material::thin);
    EXPECT_EQ(*inside, std::nullopt) << "no view inside a glow sees a background material";
}

TEST(GlowTest, ThePulseKicksTheAmountUpAndRestsOnTheContentsPixels) {
    EffectHost h(Flair::AnyChangeEffect::glow(red, 250));
    EXPECT_EQ(h.effect<Flair::PulseGlowModifier>().radius, 100) << "the change effect's halo is at most 100";
    const auto pulse = [&] { return h.state<Flair::PulseGlowModifier, Flair::GlowPulse>("pulse"); };
    const QImage resting = h.host.render();
    const ui::Element* content = h.host.find("card");
    h.kick();
    EXPECT_EQ(pulse().velocity, 5);
    EXPECT_TRUE(h.isRunning());
    h.host.stepFrame();
    EXPECT_EQ(h.host.find("card"), content) << "the content stays the same view as the glow starts";
    while (pulse().velocity > 3)
        h.host.stepFrame();
    const double rising = pulse().velocity;
    ASSERT_GT(rising, 0.05);
    h.kick();
    EXPECT_EQ(pulse().velocity, rising + 1.5) << "a rising pulse gains 1.5";
    h.host.stepFrame();
    h.kick();
    EXPECT_EQ(pulse().velocity, 5) << "but never passes 5";
    EXPECT_GT(shownAmount(h.host, 100), 0.1);
    for (int frame = 0; frame < 600 && pulse().velocity > 0.05; ++frame)
        h.host.stepFrame();
    h.kick();
    EXPECT_EQ(pulse().velocity, 5) << "a falling pulse starts again";

    EXPECT_GT(h.runToRest(), 0);
    EXPECT_EQ(pulse(), Flair::GlowPulse{});
    EXPECT_EQ(h.host.render(), resting);
}

TEST(GlowTest, TheSteadyGlowEasesToItsAmountAndBack) {
    auto probe = std::make_shared<Probe>();
    EffectHost h(ui::View(Switched{probe, Flair::AnyConditionalEffect::glow(red, 250)}), probe);
    EXPECT_EQ(h.effect<Flair::ContinuousGlowModifier>().radius, 250)
        << "the steady glow's halo is not limited";
    EXPECT_EQ(shownAmount(h.host, 250), 0);

    const auto ease = ui::Animation::easeInOut(0.25);
    const auto eased = [&](double t) { return ease.sample(t, 0.25).c1; };
    for (bool on : {true, false}) {
        probe->condition->set(on);
        h.host.update();
        h.host.stepFrame(0.1);
        const double expected = on ? 0.7 * (1 - eased(0.1)) : 0.7 * eased(0.1);
        EXPECT_NEAR(shownAmount(h.host, 250), expected, 1e-9) << on;
        h.host.stepFrame(0.15);
        EXPECT_EQ(shownAmount(h.host, 250), on ? 0.7 : 0) << on;
        EXPECT_EQ(h.runToRest(), 1) << "nothing runs once it has eased";
    }
}
