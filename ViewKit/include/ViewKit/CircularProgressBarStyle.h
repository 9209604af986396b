#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "ui/Animation.h"
#include "ui/AnyView.h"
#include "ui/Color.h"
#include "ui/Font.h"

#include <functional>

namespace ViewKit {

// How a circular progress bar looks: a disc behind a thin full ring, the progress arc over it
// and the percentage title in the middle. The modifiers get the finished arc and title and
// return what is shown in their place.
struct CircularProgressBarStyle {
    using Modifier = std::function<ui::AnyView(ui::AnyView)>;

    ui::Animation animation = ui::Animation::spring(0.5, 0.7, 0);
    ui::Color backgroundColor = ui::Color::black.opacity(0.9);
    int decimals = 0; // negative: 0
    ui::Color progressColor = ui::Color::white;
    graphics::CGFloat progressWidth = 8;
    Modifier progressModifier = [](ui::AnyView view) { return view; };
    bool showTitle = true;
    double startAngle = 0; // degrees clockwise from twelve o'clock
    ui::Color strokeColor = ui::Color::black;
    graphics::CGFloat strokeWidth = 2;
    ui::Color titleColor = ui::Color::white;
    ui::Font titleFont = ui::Font::body().bold();
    Modifier titleModifier = [](ui::AnyView view) { return view; };
};

// The environment entry the bars read; its default is the standard style.
struct CircularProgressBarStyleKey {
    using Value = CircularProgressBarStyle;
    static Value defaultValue() { return {}; }
};

// view | circularProgressBarStyle(style)
ViewOperation circularProgressBarStyle(CircularProgressBarStyle style);

} // namespace ViewKit
