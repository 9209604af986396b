#include "ControlLook.h"
#include "PressGesture.h"
#include "ui/Capsule.h"
#include "ui/Circle.h"
#include "ui/Image.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/TintShapeStyle.h"
#include "ui/ToggleStyle.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

struct SwitchSize {
    CGFloat width;
    CGFloat height;
};

SwitchSize switchSize(ControlSize size) {
    switch (size) {
    case ControlSize::mini:
        return {20, 12};
    case ControlSize::small:
        return {26, 15};
    case ControlSize::regular:
        return {32, 18};
    case ControlSize::large:
    case ControlSize::extraLarge:
        return {38, 22};
    }
    return {32, 18};
}

// The capsule and its knob, drawn for how far the knob has travelled (0 off, 1 on); that
// amount animates when the change that moved it does.
struct SwitchTrack {
    double animatableData = 0;
    SwitchSize size{32, 18};

    View body(ViewContext& ctx) const {
        const bool enabled = ctx.environment<IsEnabledKey>();
        const double on = std::clamp(animatableData, 0.0, 1.0);
        const CGFloat knob = size.height - 2;
        const CGFloat travel = size.width - size.height;
        View track = ZStack({Capsule().fill(Color::gray.opacity(0.28)),
                             Capsule().fill(TintShapeStyle{}).opacity(on),
                             Capsule().strokeBorder(Color::black.opacity(0.08), 0.5)});
        View thumb = Circle()
                         .fill(Color::white)
                         .shadow(Color::black.opacity(0.3), 1, 0, 0.5)
                         .frame(knob, knob)
                         .offset(1 + travel * on, 0);
        return ZStack(Alignment::leading, {std::move(track), std::move(thumb)})
            .frame(size.width, size.height)
            .opacity(enabled ? 1 : detail::disabledOpacity);
    }
};

struct SwitchBody {
    ToggleStyleConfiguration configuration;

    View body(ViewContext& ctx) const {
        const bool hidden = ctx.environment<LabelsHiddenKey>();
        const auto size = switchSize(ctx.environment<ControlSizeKey>());
        const auto configuration = this->configuration;
        View control = View(SwitchTrack{configuration.isOn ? 1.0 : 0.0, size})
                           .contentShape(Capsule())
                           .gesture(detail::PressGesture([configuration] {
                               withAnimation([&] { configuration.toggle(); });
                           }));
        if (hidden) return control;
        return HStack(VerticalAlignment::center, 8, {configuration.label, std::move(control)});
    }
};

struct CheckboxBody {
    ToggleStyleConfiguration configuration;

    View body(ViewContext& ctx) const {
        const bool hidden = ctx.environment<LabelsHiddenKey>();
        const bool enabled = ctx.environment<IsEnabledKey>();
        auto pressed = ctx.state<bool>("isPressed", false);
        const auto metrics = detail::controlMetrics(ctx.environment<ControlSizeKey>());
        const CGFloat side = metrics.minHeight <= 18 ? 12 : 14;
        const RoundedRectangle box(3.5);

        View face = configuration.isOn
                        ? ZStack({box.fill(TintShapeStyle{}),
                                  Image::systemName("checkmark")
                                      .font(Font::system(side * 0.7, Font::Weight::bold))
                                      .foregroundStyle(Color::white)})
                        : ZStack({box.fill(detail::systemColor("controlColor")),
                                  box.strokeBorder(detail::systemColor("separatorColor"), 1)});
        View check = ZStack({std::move(face), box.fill(Color::black.opacity(*pressed ? 0.15 : 0))})
                         .frame(side, side);
        View row = hidden ? std::move(check)
                          : HStack(VerticalAlignment::center, 6,
                                   {std::move(check), configuration.label.lineLimit(1)});
        const auto configuration = this->configuration;
        return row.contentShape(Rectangle())
            .gesture(detail::PressGesture([configuration] { configuration.toggle(); },
                                          [pressed](bool down) { pressed.set(down); }))
            .opacity(enabled ? 1 : detail::disabledOpacity);
    }
};

} // namespace

View SwitchToggleStyle::makeBody(const ToggleStyleConfiguration& configuration) const {
    return SwitchBody{configuration};
}

View CheckboxToggleStyle::makeBody(const ToggleStyleConfiguration& configuration) const {
    return CheckboxBody{configuration};
}

View DefaultToggleStyle::makeBody(const ToggleStyleConfiguration& configuration) const {
    return CheckboxBody{configuration};
}

} // namespace ui
