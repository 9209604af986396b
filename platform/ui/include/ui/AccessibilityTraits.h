#pragma once

#include <cstdint>

namespace ui {

// What assistive technology is told a view is, as a set of flags.
enum class AccessibilityTraits : std::uint32_t {
    none = 0,
    isButton = 1 << 0,
    isHeader = 1 << 1,
    isSelected = 1 << 2,
    isLink = 1 << 3,
    isImage = 1 << 4,
    isStaticText = 1 << 5,
    isSummaryElement = 1 << 6,
    updatesFrequently = 1 << 7,
    isModal = 1 << 8,
    isToggle = 1 << 9,
};

constexpr AccessibilityTraits operator|(AccessibilityTraits a, AccessibilityTraits b) {
    return AccessibilityTraits(std::uint32_t(a) | std::uint32_t(b));
}
constexpr AccessibilityTraits operator&(AccessibilityTraits a, AccessibilityTraits b) {
    return AccessibilityTraits(std::uint32_t(a) & std::uint32_t(b));
}
constexpr AccessibilityTraits operator~(AccessibilityTraits a) {
    return AccessibilityTraits(~std::uint32_t(a));
}

// How a view made into one accessibility element treats the elements inside it.
enum class AccessibilityChildBehavior { ignore, combine, contain };

} // namespace ui
