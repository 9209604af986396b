#pragma once

#include "graphics/CGFloat.h"

#include <functional>
#include <optional>

namespace ui {

using graphics::CGFloat;

struct ViewDimensions;

// An alignment line's identity and its value when a view sets no explicit guide for it.
// Custom alignments define one static AlignmentID and wrap its address.
struct AlignmentID {
    CGFloat (*defaultValue)(const ViewDimensions&);
    bool isHorizontal;
};

struct HorizontalAlignment {
    const AlignmentID* id;

    static const HorizontalAlignment leading, center, trailing;
    // Where a list row's separator starts and ends (leading edge and trailing edge by default).
    static const HorizontalAlignment listRowSeparatorLeading, listRowSeparatorTrailing;
    bool operator==(const HorizontalAlignment&) const = default;
};

struct VerticalAlignment {
    const AlignmentID* id;

    // Views without text have their baselines at the bottom.
    static const VerticalAlignment top, center, bottom, firstTextBaseline, lastTextBaseline;
    bool operator==(const VerticalAlignment&) const = default;
};

struct Alignment {
    HorizontalAlignment horizontal = HorizontalAlignment::center;
    VerticalAlignment vertical = VerticalAlignment::center;

    static const Alignment center, leading, trailing, top, bottom, topLeading, topTrailing, bottomLeading,
        bottomTrailing;
    bool operator==(const Alignment&) const = default;
};

// A view's size with its alignment guides: the explicit ones it sets, else each line's default.
struct ViewDimensions {
    CGFloat width = 0;
    CGFloat height = 0;
    // Explicit guides of the view, if any (by AlignmentID).
    std::function<std::optional<CGFloat>(const AlignmentID*)> explicitGuide;

    CGFloat operator[](HorizontalAlignment guide) const { return value(guide.id); }
    CGFloat operator[](VerticalAlignment guide) const { return value(guide.id); }
    std::optional<CGFloat> explicitValue(HorizontalAlignment guide) const { return explicitOf(guide.id); }
    std::optional<CGFloat> explicitValue(VerticalAlignment guide) const { return explicitOf(guide.id); }

private:
    std::optional<CGFloat> explicitOf(const AlignmentID* id) const {
        return explicitGuide ? explicitGuide(id) : std::nullopt;
    }
    CGFloat value(const AlignmentID* id) const {
        if (auto v = explicitOf(id)) return *v;
        return id->defaultValue(*this);
    }
};

} // namespace ui
