#pragma once

#include "ui/AnyShapeStyle.h"
#include "ui/Color.h"
#include "ui/EnvironmentValues.h"
#include "ui/Material.h"
#include "ui/StyleContext.h"

#include <QColor>
#include <QRectF>

#include <optional>

namespace ui {

// What shapes, text and symbols are drawn in when they name no style (`foregroundStyle`);
// the hierarchical primary colour when absent.
struct ForegroundStyleKey {
    using Value = std::optional<AnyShapeStyle>;
    static Value defaultValue() { return std::nullopt; }
};
// What TintShapeStyle and links are drawn in (`tint`); the accent colour when absent.
struct TintKey {
    using Value = std::optional<Color>;
    static Value defaultValue() { return std::nullopt; }
};
// What Color::accentColor stands for; the system accent when absent.
struct AccentColorKey {
    using Value = std::optional<Color>;
    static Value defaultValue() { return std::nullopt; }
};
// The material behind content that draws a background of its own; none turns such
// backgrounds off.
struct BackgroundMaterialKey {
    using Value = std::optional<Material>;
    static Value defaultValue() { return std::nullopt; }
};

// The context in which styles become brushes where `environment` applies.
StyleContext styleContext(const EnvironmentValues& environment);
// The foreground style's colour (the colour of a solid brush, else its first stop) for what
// paints in a single colour, such as text and symbols.
QColor foregroundColor(const EnvironmentValues& environment, const QRectF& bounds = {});

} // namespace ui
