#pragma once

#include "Flair/ProgressableAnimation.h"
#include "graphics/CGRect.h"
#include "ui/AnyTransition.h"
#include "ui/Path.h"
#include "ui/Shape.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstddef>
#include <functional>

namespace Flair {

namespace AnyTransition::Ostravelle {

// Horizontal slats stacked down the view, or vertical ones across it.
enum class BlindsStyle { venetian, vertical };

} // namespace AnyTransition::Ostravelle

// Slats `slatWidth` apart, measured from the view's own top left, each open by `open` (0 … 1)
// about its centre line; staggered, the first opens first. Slats are cut to the view.
struct BlindsShape : ui::Shape<BlindsShape> {
    double slatWidth = 10;
    AnyTransition::Ostravelle::BlindsStyle style = AnyTransition::Ostravelle::BlindsStyle::venetian;
    double open = 0;
    bool isStaggered = false;

    BlindsShape(double slatWidth, AnyTransition::Ostravelle::BlindsStyle style, double open, bool isStaggered)
        : slatWidth(slatWidth)
        , style(style)
        , open(open)
        , isStaggered(isStaggered) {}

    // How far slat `index` of `count` is open.
    double openness(double index, double count) const;
    ui::Path path(const graphics::CGRect& rect) const;
};

// The view seen through blinds opened by the progress.
struct Blinds {
    double slatWidth = 10;
    AnyTransition::Ostravelle::BlindsStyle style = AnyTransition::Ostravelle::BlindsStyle::venetian;
    bool isStaggered = false;
    double animatableData = 0;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Blinds&) const = default;
};

template <> inline constexpr bool enableProgressableAnimation<Blinds> = true;

namespace AnyTransition::Ostravelle {

// Venetian blinds of 10-point slats, opening together.
ui::AnyTransition blinds();
// Blinds of `slatWidth` (at least 5) points.
ui::AnyTransition blinds(double slatWidth, BlindsStyle style, bool isStaggered);

} // namespace AnyTransition::Ostravelle

} // namespace Flair

template <> struct std::hash<Flair::Blinds> {
    std::size_t operator()(const Flair::Blinds& blinds) const noexcept;
};
