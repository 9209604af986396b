#include "ControlLook.h"
#include "ui/ButtonStyle.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/TintShapeStyle.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

constexpr double pressedOpacity = 0.6;

View fitted(View label, const detail::ControlMetrics& metrics) {
    if (metrics.font) label = label.font(metrics.font);
    return label;
}

// A rounded bezel: the control colour with a hairline border, or the accent colour when
// prominent; darker while pressed.
struct Bezel {
    ButtonStyleConfiguration configuration;
    bool prominent = false;

    View body(ViewContext& ctx) const {
        const auto metrics = detail::controlMetrics(ctx.environment<ControlSizeKey>());
        const bool enabled = ctx.environment<IsEnabledKey>();
        const bool destructive = configuration.role == ButtonRole::destructive;
        const RoundedRectangle shape(metrics.cornerRadius);

        AnyShapeStyle labelStyle = prominent ? AnyShapeStyle(Color::white)
                                   : destructive ? AnyShapeStyle(Color::red)
                                                 : AnyShapeStyle(detail::systemColor("labelColor"));
        View face = prominent ? shape.fill(destructive ? AnyShapeStyle(Color::red) : AnyShapeStyle(TintShapeStyle{}))
                              : shape.fill(detail::systemColor("controlColor"));
        View border = shape.strokeBorder(detail::systemColor("separatorColor"), 1);
        View pressedShade = shape.fill(Color::black.opacity(configuration.isPressed ? 0.15 : 0));

        return fitted(configuration.label, metrics)
            .foregroundStyle(labelStyle)
            .lineLimit(1)
            .padding(EdgeInsets{metrics.verticalPadding, metrics.horizontalPadding, metrics.verticalPadding,
                                metrics.horizontalPadding})
            .frame(FlexibleFrame{.minHeight = metrics.minHeight})
            .background(ZStack({face.shadow(Color::black.opacity(0.12), 0.5, 0, 0.5), border, pressedShade}))
            .contentShape(shape)
            .opacity(enabled ? 1 : detail::disabledOpacity);
    }
};

// The label alone, in the tint colour or as it is, fading while pressed.
struct Bare {
    ButtonStyleConfiguration configuration;
    bool tinted = false;

    View body(ViewContext& ctx) const {
        const bool enabled = ctx.environment<IsEnabledKey>();
        View label = configuration.label;
        if (tinted) {
            const auto metrics = detail::controlMetrics(ctx.environment<ControlSizeKey>());
            label = fitted(std::move(label), metrics)
                        .foregroundStyle(configuration.role == ButtonRole::destructive ? AnyShapeStyle(Color::red)
                                                                                       : AnyShapeStyle(TintShapeStyle{}))
                        .contentShape(Rectangle());
        }
        const double opacity = (configuration.isPressed ? pressedOpacity : 1) * (enabled ? 1 : detail::disabledOpacity);
        return label.opacity(opacity);
    }
};

// Plain among a list's rows, bordered elsewhere.
struct Automatic {
    ButtonStyleConfiguration configuration;

    View body(ViewContext& ctx) const {
        if (ctx.environment<detail::InListRowsKey>()) return Bare{configuration, false};
        return Bezel{configuration, false};
    }
};

} // namespace

View BorderedButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return Bezel{configuration, false};
}

View BorderedProminentButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return Bezel{configuration, true};
}

View BorderlessButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return Bare{configuration, true};
}

View PlainButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return Bare{configuration, false};
}

View DefaultButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return Automatic{configuration};
}

} // namespace ui
