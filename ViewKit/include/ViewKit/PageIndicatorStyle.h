#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "ui/Color.h"

#include <optional>

namespace ViewKit {

// How a page indicator's dots look. An absent spacing is the standard stack spacing, so it
// differs from every present one, even 0.
struct PageIndicatorStyle {
    ui::Color currentDotColor = ui::Color::white;
    graphics::CGFloat currentDotSize = 7;
    ui::Color dotColor = ui::Color::white.opacity(0.5);
    graphics::CGFloat dotSize = 7;
    std::optional<graphics::CGFloat> dotSpacing;
    bool isAnimated = true; // a tapped dot changes the page inside the default animation

    PageIndicatorStyle() = default;
    PageIndicatorStyle(ui::Color dotColor, graphics::CGFloat dotSize, std::optional<graphics::CGFloat> dotSpacing,
                       ui::Color currentDotColor, graphics::CGFloat currentDotSize, bool isAnimated);

    static PageIndicatorStyle standard() { return {}; }

    bool operator==(const PageIndicatorStyle&) const = default;
};

// When a paged view shows its indicator: always, with two pages or more, or never.
enum class PageIndicatorDisplayMode { always, automatic, never };

// The environment entry the indicators read; its default is the standard style.
struct PageIndicatorStyleKey {
    using Value = PageIndicatorStyle;
    static Value defaultValue() { return PageIndicatorStyle::standard(); }
};

// view | pageIndicatorStyle(style): restyles every indicator below, a page view's own too.
ViewOperation pageIndicatorStyle(PageIndicatorStyle style);

} // namespace ViewKit
