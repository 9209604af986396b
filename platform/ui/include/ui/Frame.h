#pragma once

#include "graphics/CGFloat.h"
#include "ui/Alignment.h"

#include <optional>

namespace ui {

// How a view with an aspect ratio meets a proposal: inside it, or covering it.
enum class ContentMode { fit, fill };

// The limits of a flexible frame, per axis. How it resolves, per axis, for a proposal p:
// - p' is p, or the ideal length when p is unspecified;
// - the child is proposed p' clamped to [min, max] (unspecified when p' is);
// - the frame's length is p' clamped to [min ?? child, max ?? child] (the child's length when
//   p' is unspecified, clamped to the limits given); a missing min lets a larger child through,
//   a missing max hugs a smaller child; min wins over a smaller max;
// - the child sits in the frame by `alignment`.
struct FlexibleFrame {
    std::optional<CGFloat> minWidth;
    std::optional<CGFloat> idealWidth;
    std::optional<CGFloat> maxWidth;
    std::optional<CGFloat> minHeight;
    std::optional<CGFloat> idealHeight;
    std::optional<CGFloat> maxHeight;
    Alignment alignment = Alignment::center;

    bool operator==(const FlexibleFrame&) const = default;
};

} // namespace ui
