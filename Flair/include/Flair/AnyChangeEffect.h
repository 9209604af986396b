#pragma once

#include "Flair/AnyInsettableShape.h"
#include "Flair/AnyViewModifier.h"
#include "Flair/ChangeEffectRates.h"
#include "Flair/ParticleLayer.h"
#include "Flair/Vector3.h"
#include "ui/Angle.h"
#include "ui/Animation.h"
#include "ui/AnyShapeStyle.h"
#include "ui/Color.h"
#include "ui/UnitPoint.h"
#include "ui/View.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace Flair {

// An effect played each time a watched value changes (see changeEffect): for the number of
// changes counted so far, the modifier that shows it; the animation its views change with; how
// long after a counted change further changes are dropped; how long after a change is reported
// it is examined.
//
// The effects' factories and the types of their settings are declared here, grouped per effect,
// and each defined in its own source.
class AnyChangeEffect {
public:
    using ModifierFunction = std::function<AnyViewModifier(std::int64_t changeCount)>;

    // `makeModifier` returns the effect's own modifier for a change count, erased here.
    // No animation, no cooldown, no delay.
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    explicit AnyChangeEffect(F makeModifier)
        : AnyChangeEffect(std::move(makeModifier), std::nullopt, 0, 0) {}
    // No delay.
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    AnyChangeEffect(F makeModifier, std::optional<ui::Animation> animation, double cooldown)
        : AnyChangeEffect(std::move(makeModifier), std::move(animation), cooldown, 0) {}
    template <class F>
    requires detail::MakesModifier<F, std::int64_t, AnyViewModifier>
    AnyChangeEffect(F makeModifier, std::optional<ui::Animation> animation, double cooldown, double delay)
        : modifier_(erased(std::move(makeModifier)))
        , animation_(std::move(animation))
        , cooldown_(cooldown)
        , delay_(delay) {}

    const ModifierFunction& modifier() const { return modifier_; }
    // Put into the transaction of the effect's own views; empty: they do not animate.
    const std::optional<ui::Animation>& animation() const { return animation_; }
    // Seconds: a change counts only when more time than this has passed since the last one.
    double cooldown() const { return cooldown_; }
    // Seconds: how long after it is reported a change is examined; 0: at once.
    double delay() const { return delay_; }

    // A copy examining each change `seconds` after it is reported.
    AnyChangeEffect delay(double seconds) const;

    // Simulated effects: each change kicks a simulation that runs frame by frame until it
    // rests (Shake.cpp, Wiggle.cpp, PulseGlow.cpp, Jump.cpp, Spin.cpp).
    using ShakeRate = detail::PhaseLengthRate<detail::ShakeRateTag>;
    using WiggleRate = detail::PhaseLengthRate<detail::WiggleRateTag>;
    using SpinRate = detail::SpinRate;
    // Sways the view from side to side, turning a little in depth, dying out over the rate's
    // phase length.
    static AnyChangeEffect shake();
    static AnyChangeEffect shake(ShakeRate rate);
    // Turns the view back and forth in its plane; under a conditional effect each kick lasts
    // two phase lengths more.
    static AnyChangeEffect wiggle();
    static AnyChangeEffect wiggle(WiggleRate rate);
    // Lights the view up in `color` with a halo reaching about `radius` points (at most 100),
    // then lets it fade; the accent colour and 16 points by default.
    static AnyChangeEffect glow();
    static AnyChangeEffect glow(ui::Color color, double radius);
    // Throws the view `height` points up, lands it with a squash and bounces it out. A change
    // while it is high up and rising jumps again at the landing.
    static AnyChangeEffect jump(double height);
    // Spins the view about `axis` through the 3D anchor (`anchor`, `anchorZ`) in perspective,
    // shaded, until it rests on a whole turn; `additionalSpeed` makes a fast spin slow sooner.
    // By default about y through the centre, perspective 1/6.
    static AnyChangeEffect spin();
    static AnyChangeEffect spin(Vector3 axis, ui::UnitPoint anchor, double anchorZ, double perspective,
                                double additionalSpeed, SpinRate rate);

    // Particle effects and the shine (Pulse.cpp, Rise.cpp, Spray.cpp, Shine.cpp).
    enum class PulseDrawingMode { fill, stroke };
    // Each change sends out max(count, 1) pulses of `shape` 0.2 s apart, growing out of the view's
    // frame: thinning and fading strokes over 2 s, or fading fills over 4 s. Changes are not
    // counted until the last pulse of a burst has started.
    static AnyChangeEffect pulse(AnyInsettableShape shape, ui::AnyShapeStyle style,
                                 PulseDrawingMode drawingMode, std::int64_t count, ParticleLayer layer);
    // Filled pulses, drawn in place.
    static AnyChangeEffect pulse(AnyInsettableShape shape, ui::AnyShapeStyle style, std::int64_t count);
    // Each change floats one child of the particle view (the next in turn) up from `origin` of
    // the view. `particles` is called once, here.
    static AnyChangeEffect rise(ui::UnitPoint origin, ParticleLayer layer,
                                const std::function<ui::View()>& particles);
    static AnyChangeEffect rise(ui::UnitPoint origin, const std::function<ui::View()>& particles);
    // Each change throws a fan of eleven children of the particle view out of `origin` of the
    // view, behind it. `particles` is called once, here.
    static AnyChangeEffect spray(ui::UnitPoint origin, ParticleLayer layer,
                                 const std::function<ui::View()>& particles);
    // Each change sweeps a band of light across the view's opaque pixels, along its diagonal or
    // at `angle`, over `duration` seconds (1 by default) under ease-in-out; changes within half
    // the duration of the last counted one are not counted.
    static AnyChangeEffect shine();
    static AnyChangeEffect shine(double duration);
    static AnyChangeEffect shine(ui::Angle angle, double duration);

private:
    template <class F> static ModifierFunction erased(F makeModifier) {
        if constexpr (std::same_as<std::remove_cvref_t<F>, ModifierFunction>)
            return makeModifier;
        else
            return
                [make = std::move(makeModifier)](std::int64_t count) { return AnyViewModifier(make(count)); };
    }

    ModifierFunction modifier_;
    std::optional<ui::Animation> animation_;
    double cooldown_ = 0;
    double delay_ = 0;
};

} // namespace Flair
