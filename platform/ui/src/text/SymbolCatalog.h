#pragma once

#include "ui/SymbolImage.h"

#include <QPainterPath>

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// The pen a symbol is built with, in design units (1000 to the side of the square): the stroke
// width of its weight, and whether the filled form is wanted.
struct SymbolPen {
    double width = 74;
    bool fill = false;
};

struct SymbolImage::Drawing {
    std::string name;
    QPainterPath (*build)(const SymbolPen& pen);
    bool fill;
};

namespace symbols {

// Side of the design square. Curves are flattened at the scale they are built at, so shapes
// are built large and scaled to the unit square at the end.
inline constexpr double designSize = 1000;

const SymbolImage::Drawing* find(std::string_view name);
// The drawing for `name` with `variant` applied; null when the name is unknown.
const SymbolImage::Drawing* resolve(std::string_view name, SymbolVariant variant);
std::vector<std::string> names();

// Stroke width in design units for a font weight; clamped to thin … black.
double strokeWidth(int weight);

} // namespace symbols
} // namespace ui
