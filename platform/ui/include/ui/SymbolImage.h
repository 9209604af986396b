#pragma once

#include "ui/SymbolVariant.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace ui {

// Where a symbol sits beside text: its size, and how far below its top the text's baseline runs.
struct SymbolMetrics {
    QSizeF size;
    double baseline = 0;
};

// A system symbol by name, drawn from our own vector icon set: stroked outlines on a one-unit
// square, scaled to the size drawn. Symbols are templates: they carry no colour of their own
// and are painted in the colour given.
//
// The fill variant of "name" is "name.fill" where the set has one (symbols with a closed body:
// "flame", "checkmark.circle", "star.circle", "trash", …); line symbols such as "plus",
// "checkmark" or "chevron.right" have none and draw as they are. A name that already ends in
// ".fill" stays filled.
//
// An unknown name gives the empty symbol: it has the natural size of any symbol, so layout does
// not jump, but draws nothing and its image is null. The first use of each unknown name logs a
// warning.
class SymbolImage {
public:
    // The empty symbol.
    SymbolImage() = default;
    explicit SymbolImage(std::string_view systemName, SymbolVariant variant = SymbolVariant::none);

    bool isEmpty() const { return !drawing_; }
    // The name asked for.
    const std::string& systemName() const { return systemName_; }
    // The name drawn once the variant is applied: "flame" with the fill variant is "flame.fill".
    // Empty for an unknown name.
    const std::string& resolvedName() const { return resolvedName_; }

    // The symbol's area on the unit square (y down), for a font weight (QFont::Weight values,
    // 100 thin … 900 black; others are clamped into that range). Empty for the empty symbol.
    QPainterPath path(int weight = QFont::Normal) const;
    // Starts building the path for `weight` on a worker thread unless it is built or being built,
    // so that a draw soon after finds it ready instead of building it then (a draw of a path
    // still being built waits for it).
    void prepare(int weight = QFont::Normal) const;

    // Paints the symbol stretched to `rect` in `color`, lines and all, as a resized vector image.
    void draw(QPainter& painter, const QRectF& rect, const QColor& color, int weight = QFont::Normal) const;

    // The symbol at its natural size for `pointSize`, `scale` pixels per point, as a premultiplied
    // ARGB image with that device pixel ratio. Null for the empty symbol, and for a size that is
    // not positive or more than 16384 pixels a side.
    QImage image(double pointSize, const QColor& color, int weight = QFont::Normal, double scale = 1) const;

    // A symbol beside text of `pointSize` points is a square of that side, centred on the middle
    // of the capital letters (taken as 0.7 of the point size here).
    static SymbolMetrics metrics(double pointSize);
    // The same for a font as text lays it out (a point is a unit): its size, and its own capital
    // height.
    static SymbolMetrics metrics(const QFont& font);

    // Every name of the set, filled variants included, in sorted order.
    static std::vector<std::string> names();
    static bool exists(std::string_view systemName);

    struct Drawing;

private:
    std::string systemName_;
    std::string resolvedName_;
    const Drawing* drawing_ = nullptr; // owned by the catalogue, never destroyed
};

} // namespace ui
