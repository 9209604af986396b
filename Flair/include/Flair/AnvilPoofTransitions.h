#pragma once

#include "Flair/ProgressableAnimation.h"
#include "graphics/CGSize.h"
#include "ui/AnyTransition.h"
#include "ui/Edge.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// The view drops in from 400 points above in the first tenth of the progress, lands with a
// short shudder and throws up a row of smoke puffs and a spray of sparks along its bottom edge.
struct Anvil {
    // How far the smoke canvas reaches past the view.
    static constexpr ui::EdgeInsets overhang{150, 130, 100, 130};

    double animatableData = 0;

    // The drop: (0, −400) at progress 0, rising linearly to (0, 0) at 0.1 and after.
    static graphics::CGSize dropOffset(double progress);
    // The shudder after landing, between progress 0.11 and 0.21; (0, 0) elsewhere.
    static graphics::CGSize shudderOffset(double progress);
    // The puffs ("anvil_smoke_white" and "anvil_smoke_gray" of the library's bundle, drawn from
    // 0.1 on) and the sparks on a canvas of `size` that overhangs the view by `overhang`, from a
    // stream seeded with the canvas width; nothing at progress 1 or over a view without width.
    static void drawSmoke(ui::GraphicsContext& ctx, graphics::CGSize size, double progress);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Anvil&) const = default;
};

// The view vanishes the moment its removal starts and a five-frame cloud plays in its place.
struct Poof {
    static constexpr int frameCount = 5;

    double animatableData = 0;

    // The cloud frame shown at `progress`: 1 ("poof1") … 5, or 0 for none.
    static int frameShown(double progress);

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const Poof&) const = default;
};

template <> inline constexpr bool enableProgressableAnimation<Anvil> = true;
template <> inline constexpr bool enableProgressableAnimation<Poof> = true;

namespace AnyTransition::Ostravelle {

// Inserted by dropping in with smoke and sparks, over 1.4 s linear whatever the animation;
// removed at once.
ui::AnyTransition anvil();
// Removed in a puff of smoke, over 0.4 s linear whatever the animation; inserted at once.
ui::AnyTransition poof();

} // namespace AnyTransition::Ostravelle

} // namespace Flair
