#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace desktop {

// A font as desktop code hands it around: an installed font's name (a family, or one face of
// it) and a size in points. An immutable value.
class NSFont {
public:
    // The installed font `name` at `size`: a family or face name as ui::Font::custom takes it.
    // Nothing for an empty or unknown name, or a size that is not a positive finite number.
    static std::optional<NSFont> named(std::string_view name, double size);
    // The system font at `size`; the regular size when it is not a positive finite number.
    static NSFont systemFont(double size);
    // The sizes of the system's regular and small text, in points.
    static constexpr double systemFontSize() { return 13; }
    static constexpr double smallSystemFontSize() { return 11; }

    // As given to named(), or the system font's family.
    const std::string& fontName() const { return fontName_; }
    double pointSize() const { return pointSize_; }

    bool operator==(const NSFont&) const = default;

private:
    NSFont(std::string fontName, double pointSize)
        : fontName_(std::move(fontName))
        , pointSize_(pointSize) {}

    std::string fontName_;
    double pointSize_;
};

} // namespace desktop
