#pragma once

#include "ui/Color.h"
#include "ui/GradientColorSpace.h"

#include <optional>
#include <string>
#include <variant>

namespace ui::detail {

// A colour of a bundle's colour table, looked up when the colour was made.
struct NamedColorValue {
    std::string name;
    std::string tablePath;
    // Absent when the table has no such colour: it resolves as clear.
    std::optional<Color::Resolved> light;
    std::optional<Color::Resolved> dark;

    bool operator==(const NamedColorValue& other) const {
        return name == other.name && tablePath == other.tablePath;
    }
};

struct MixedColorValue {
    Color from;
    Color to;
    double fraction = 0;
    GradientColorSpace colorSpace = GradientColorSpace::perceptual;

    bool operator==(const MixedColorValue&) const = default;
};

struct ColorStorage {
    std::variant<NamedColorValue, MixedColorValue> value;
};

// Blends resolved colours; `fraction` is already clamped.
Color::Resolved mixResolved(const Color::Resolved& from, const Color::Resolved& to, double fraction,
                            GradientColorSpace colorSpace);

} // namespace ui::detail
