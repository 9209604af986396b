#include "ParticleTestSupport.h"

#include "Flair/ItemTimer.h"
#include "Flair/ParticleLayerAttachment.h"
#include "Flair/Pulse.h"
#include "ui/Color.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Transaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace flairtest;
using Flair::AnyChangeEffect;
using Flair::ItemTimer;
using Flair::ParticleLayer;
using Mode = AnyChangeEffect::PulseDrawingMode;
using graphics::CGSize;

namespace {

const ui::Color blue(0.1, 0.25, 0.95);
const ui::Color red(1, 0, 0);

AnyChangeEffect pulse(Mode mode, std::int64_t count) {
    return AnyChangeEffect::pulse(ui::Rectangle(), red, mode, count, ParticleLayer::local);
}

template <class M> const M& valueOf(const ui::Element* element) {
    return dynamic_cast<const ui::detail::CustomModifierNode<M>&>(element->node()).value();
}

// A card of `size` at (50, 75) under a pulse effect.
struct PulseScene {
    Trigger trigger;
    ui::TestHost host;

    explicit PulseScene(AnyChangeEffect effect, CGSize size = {200, 50}, bool disablesAnimations = false)
        : host(trigger(ui::Rectangle().fill(blue).frame(size.width, size.height), std::move(effect))
                   .transaction([disablesAnimations](ui::Transaction& t) {
                       t.disablesAnimations |= disablesAnimations;
                   })
                   .position(50 + size.width / 2, 75 + size.height / 2),
               {300, 200}) {}

    std::vector<ui::Element*> strokes() const {
        return host.findAllType<Flair::PulseStrokeAnimationModifier>();
    }
    std::vector<ui::Element*> fills() const { return host.findAllType<Flair::PulseFillAnimationModifier>(); }
    double progress(std::size_t i) const { return presentedData(strokes().at(i)); }
};

} // namespace

TEST(PulseTest, AStrokeBurstOfThreeStartsEveryFifthOfASecondAndEachRunsTwoSecondsLinearly) {
    const AnyChangeEffect effect = pulse(Mode::stroke, 3);
    EXPECT_DOUBLE_EQ(effect.cooldown(), 0.4);
    EXPECT_EQ(effect.animation(), ui::Animation::linear(2.0));
    EXPECT_DOUBLE_EQ(pulse(Mode::fill, -2).cooldown(), 0) << "at least one pulse";
    EXPECT_EQ(pulse(Mode::fill, 1).animation(), ui::Animation::linear(4.0));

    PulseScene s(effect);
    EXPECT_TRUE(s.strokes().empty()) << "the first value starts nothing";
    s.trigger.change(s.host);
    EXPECT_EQ(s.strokes().size(), 1u);
    advance(s.host, 0.19);
    EXPECT_EQ(s.strokes().size(), 1u);
    advance(s.host, 0.02);
    EXPECT_EQ(s.strokes().size(), 2u);
    advance(s.host, 0.2);
    EXPECT_EQ(s.strokes().size(), 3u);
    advance(s.host, 1.2 - 0.41);
    EXPECT_NEAR(s.progress(1), 0.5, 0.01) << "a pulse the timer started, one second in";
    EXPECT_NEAR(s.progress(0), 0.6, 0.01);
    advance(s.host, 2.38 - 1.2);
    EXPECT_EQ(s.strokes().size(), 1u);
    advance(s.host, 0.04);
    EXPECT_TRUE(s.strokes().empty()) << "the last pulse went at 2.4 s";
    EXPECT_FALSE(s.host.graph().needsUpdate());
}

TEST(PulseTest, TheTimerStartsAtOnceFromRestAndTheRunningChainTakesLaterPulses) {
    ui::TestHost host(ui::View(), {10, 10}); // for the run loop
    {
        auto timer = std::make_shared<ItemTimer>();
        timer->addPulses(1);
        const auto first = timer->timer;
        timer->addPulses(1);
        EXPECT_EQ(timer->items->size(), 2u) << "count 1: every change starts its pulse at once";
        EXPECT_FALSE(first->isValid()) << "and replaces the pending timer";
    }
    {
        auto timer = std::make_shared<ItemTimer>();
        timer->addPulses(4);
        timer->fire(ItemTimer::burstInterval);
        timer->fire(ItemTimer::burstInterval); // late: one still to start
        ASSERT_EQ(timer->pulsesRemaining(), 1);
        timer->addPulses(4);
        EXPECT_EQ(timer->pulsesRemaining(), 5);
        EXPECT_EQ(timer->items->size(), 3u) << "nothing starts at once";
        advance(host, 0.21);
        EXPECT_EQ(timer->items->size(), 4u);
        advance(host, 0.8);
        EXPECT_EQ(timer->items->size(), 8u);
        EXPECT_EQ(timer->pulsesRemaining(), 0);

        const auto pending = timer->timer;
        ASSERT_TRUE(pending->isValid()) << "one more tick finds nothing";
        timer.reset();
        advance(host, 0.21);
        EXPECT_FALSE(pending->isValid()) << "it fired, with its owner gone";
    }
    {
        auto timer = std::make_shared<ItemTimer>();
        constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
        timer->addPulses(largest);
        timer->addPulses(10);
        EXPECT_EQ(timer->pulsesRemaining(), largest) << "saturates instead of overflowing";
    }
}

TEST(PulseTest, EmittersKeepTheirOwnPulsesAndAViewThatGoesStartsNoMore) {
    PulseScene s(pulse(Mode::stroke, 1));
    s.trigger.change(s.host);
    advance(s.host, 0.05);
    s.trigger.change(s.host);
    EXPECT_EQ(s.strokes().size(), 2u) << "count 1 starts each pulse at once";

    struct TwoEmitters {
        ValueHandle value;
        ui::View body(ui::ViewContext& ctx) const {
            auto n = ctx.state<int>("value", 0);
            *value = n;
            const auto always = [](const int&) { return true; };
            return ui::Rectangle().fill(blue).frame(100, 40) |
                   Flair::changeEffect(pulse(Mode::stroke, 1), *n, always) |
                   Flair::changeEffect(pulse(Mode::fill, 2), *n, always);
        }
    };
    Trigger trigger;
    ui::TestHost host(TwoEmitters{trigger.value});
    trigger.change(host);
    advance(host, 0.25);
    EXPECT_EQ(host.findAllType<Flair::PulseStrokeAnimationModifier>().size(), 1u);
    EXPECT_EQ(host.findAllType<Flair::PulseFillAnimationModifier>().size(), 2u);

    PulseScene going(pulse(Mode::stroke, 3));
    going.trigger.change(going.host);
    going.host.setRoot(ui::View());
    going.host.update();
    advance(going.host, 0.5);
    EXPECT_TRUE(going.strokes().empty());
    EXPECT_FALSE(going.host.graph().needsUpdate()) << "the pending timer fired and did nothing";
}

TEST(PulseTest, TheOutlineGrowsThinsAndFadesWithTheProgress) {
    const auto at0 = Flair::pulseShape(0);
    EXPECT_DOUBLE_EQ(at0.growth, 0);
    EXPECT_DOUBLE_EQ(at0.thickness, 1);
    EXPECT_DOUBLE_EQ(at0.strokeOpacity, 1);
    EXPECT_DOUBLE_EQ(at0.fillOpacity, 0.33);
    const auto at01 = Flair::pulseShape(0.1);
    EXPECT_NEAR(at01.growth, 0.211286, 1e-6);
    EXPECT_NEAR(at01.thickness, 0.787672, 1e-6);
    EXPECT_NEAR(at01.strokeOpacity, 0.842267, 1e-6);
    EXPECT_NEAR(at01.fillOpacity, 0.172267, 1e-6);
    const auto at05 = Flair::pulseShape(0.5);
    EXPECT_NEAR(at05.growth, 0.412260, 1e-6);
    EXPECT_NEAR(at05.thickness, 0.272166, 1e-6);
    EXPECT_NEAR(at05.strokeOpacity, 0.096661, 1e-6);
    EXPECT_EQ(at05.fillOpacity, 0);
    const auto at1 = Flair::pulseShape(1);
    EXPECT_NEAR(at1.growth * 100, 43.7167, 1e-4) << "the edges of a 200 × 50 view's pulse at the end";
    EXPECT_NEAR(at1.thickness, 0.196116, 1e-6);
    for (double p : {0.64, 0.8, 1.0}) {
        EXPECT_EQ(Flair::pulseShape(p).strokeOpacity, 0) << "past 2/π, stays transparent: p " << p;
        EXPECT_EQ(Flair::pulseShape(p).fillOpacity, 0) << p;
    }

    // The emitter's sizes: m = min(w, h), inset amount 2m, line width max(2m/25, 1).
    for (const auto& [size, inset, width] :
         {std::tuple{CGSize{200, 50}, 100.0, 4.0}, std::tuple{CGSize{10, 10}, 20.0, 1.0},
          std::tuple{CGSize{0, 0}, 0.0, 1.0}}) {
        PulseScene s(pulse(Mode::stroke, 1), size);
        s.trigger.change(s.host);
        ASSERT_EQ(s.strokes().size(), 1u);
        const auto& m = valueOf<Flair::PulseStrokeAnimationModifier>(s.strokes()[0]);
        EXPECT_EQ(m.insetAmount, inset);
        EXPECT_EQ(m.lineWidth, width);
    }
}

TEST(PulseTest, AStrokePulseIsDrawnWithItsWidthOpacityBlurAndDarkBrightness) {
    const auto drawn = [](double p, ui::ColorScheme scheme) {
        const ui::View card = ui::Rectangle()
                                  .fill(ui::Color::clear)
                                  .frame(200, 50)
                                  .modifier(Flair::PulseStrokeAnimationModifier{
                                      p, ui::Rectangle(), red, 4, ParticleLayer::local, 100, {}})
                                  .environment(ui::ColorSchemeKey{}, scheme)
                                  .position(150, 100);
        ui::TestHost host(card, {300, 200});
        for (const Painted& painted : painted(host))
            if (painted.color == QColor(Qt::red)) return painted;
        ADD_FAILURE() << "no stroke at " << p;
        return Painted{};
    };
    const Painted start = drawn(0, ui::ColorScheme::dark);
    EXPECT_NEAR(outlineWidth(start.path), 4, 1e-3);
    EXPECT_DOUBLE_EQ(start.opacity, 1);
    EXPECT_DOUBLE_EQ(start.blurRadius, 0.5);
    EXPECT_EQ(start.filters, std::vector{ui::ColorFilter::brightness(0.75)});
    EXPECT_NEAR(start.path.boundingRect().left(), 50, 1e-9) << "the stroke lies inside the outline";
    for (const auto& filter : drawn(0, ui::ColorScheme::light).filters)
        EXPECT_EQ(filter.amount, 0) << "no brightness in the light scheme";

    const Painted later = drawn(0.1, ui::ColorScheme::dark);
    EXPECT_NEAR(outlineWidth(later.path), 0.787672 * 4, 1e-3);
    EXPECT_NEAR(later.opacity, 0.842267, 1e-5);
    EXPECT_NEAR(later.blurRadius, 0.787672 * 4 * 0.125, 1e-5);
    ASSERT_EQ(later.filters.size(), 1u);
    EXPECT_NEAR(later.filters[0].amount, 0.590754, 1e-6);
    EXPECT_NEAR(later.path.boundingRect().left(), 50 - 21.1286, 1e-3) << "grown outward";
}

TEST(PulseTest, APulseInsertedWithoutAnimationEndsAtOnce) {
    PulseScene s(pulse(Mode::fill, 1), {200, 50}, true);
    for (int i = 0; i < 3; ++i) {
        s.trigger.change(s.host);
        s.host.update();
        EXPECT_TRUE(s.fills().empty()) << "change " << i << ": its identifier is gone";
    }
}

TEST(PulseTest, AFadedOutPulseAttachesNothingForTheRestOfItsLife) {
    for (const Mode mode : {Mode::stroke, Mode::fill}) {
        const double duration = mode == Mode::stroke ? 2 : 4;
        PulseScene s(pulse(mode, 1));
        const auto attached = [&] {
            return s.host.findAllType<Flair::ParticleLayerOverlayModifier>().size() +
                   s.host.findAllType<Flair::ParticleLayerBackgroundModifier>().size();
        };
        const auto pulses = [&] { return (mode == Mode::stroke ? s.strokes() : s.fills()).size(); };
        s.trigger.change(s.host);
        advance(s.host, 0.1 * duration);
        EXPECT_EQ(attached(), 1u);
        advance(s.host, 0.6 * duration); // faded out at either mode's last visible opacity
        EXPECT_EQ(pulses(), 1u) << "still running";
        EXPECT_EQ(attached(), 0u);
        advance(s.host, 0.31 * duration);
        EXPECT_EQ(pulses(), 0u) << "ends on time";
    }
}
