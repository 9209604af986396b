#pragma once

#include "ViewKit/ViewOperation.h"
#include "ViewKit/ViewShadowStyle.h"

#include "ui/Animation.h"
#include "ui/Color.h"
#include "ui/Material.h"

namespace ViewKit {

// How a linear progress bar looks: a capsule track of a colour under a material, and a
// shadowed bar inset by `barPadding` on every side.
struct LinearProgressBarStyle {
    ui::Animation animation = ui::Animation::spring(0.5, 0.7, 0);
    double height = 10;
    ui::Material backgroundMaterial = ui::Material::ultraThin;
    double backgroundMaterialOpacity = 1; // of the material over the track colour
    ui::Color backgroundColor = ui::Color::clear;
    ui::Color barColor = ui::Color::accentColor;
    double barPadding = 0;
    ViewShadowStyle barShadow = ViewShadowStyle::progressBar();

    // The standard style with the bar inset 2.
    static LinearProgressBarStyle padded();
    // A 16-point bar inset 3.
    static LinearProgressBarStyle large();
};

// The environment entry the bars read; its default is the standard style.
struct LinearProgressBarStyleKey {
    using Value = LinearProgressBarStyle;
    static Value defaultValue() { return {}; }
};

// view | linearProgressBarStyle(LinearProgressBarStyle::large())
ViewOperation linearProgressBarStyle(LinearProgressBarStyle style);

} // namespace ViewKit
