#pragma once

namespace ui {

// The user's preferred text size. Text styles and custom fonts scale with it; fonts of a fixed
// size (`Font::system(size)`) do not.
enum class ContentSizeCategory {
    extraSmall,
    small,
    medium,
    large, // the default: no scaling
    extraLarge,
    extraExtraLarge,
    extraExtraExtraLarge,
    accessibilityMedium,
    accessibilityLarge,
    accessibilityExtraLarge,
    accessibilityExtraExtraLarge,
    accessibilityExtraExtraExtraLarge,
};

// The factor text styles are scaled by in `category`; 1 for `large`.
double scaleFactor(ContentSizeCategory category);

} // namespace ui
