#pragma once

#include "ui/Color.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <cstdint>

namespace Flair {

// The glow change effect's modifier: each change of `impulseCount` kicks the view's GlowPulse,
// which runs frame by frame until it rests, drawn through GlowModifier.
struct PulseGlowModifier {
    std::int64_t impulseCount = 0;
    ui::Color color;
    double radius = 0;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;

    bool operator==(const PulseGlowModifier&) const = default;
};

} // namespace Flair
