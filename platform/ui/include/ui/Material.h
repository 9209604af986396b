#pragma once

#include "ui/AnyShapeStyle.h"

#include <QBrush>
#include <QRectF>

namespace ui {

struct StyleContext;

// A frosted backdrop as a shape style. We draw it as a translucent wash of the colour scheme's
// background (near-white in light, near-black in dark) without blurring what lies behind, so it
// costs no more than a colour fill; thicker materials hide more of what is beneath.
//
//   thickness    ultraThin  thin  regular  thick  ultraThick
//   opacity      0.35       0.5   0.65     0.8    0.9
class Material {
public:
    enum class Thickness { ultraThin, thin, regular, thick, ultraThick };

    static const Material ultraThin;
    static const Material thin;
    static const Material regular;
    static const Material thick;
    static const Material ultraThick;

    constexpr explicit Material(Thickness thickness)
        : thickness_(thickness) {}

    Thickness thickness() const { return thickness_; }
    // How much of what is behind the material it covers.
    double coverage() const;

    QBrush brush(const StyleContext& context, const QRectF& bounds) const;
    AnyShapeStyle opacity(double opacity) const { return AnyShapeStyle(*this).opacity(opacity); }
    bool operator==(const Material&) const = default;

private:
    Thickness thickness_;
};

inline constexpr Material Material::ultraThin{Material::Thickness::ultraThin};
inline constexpr Material Material::thin{Material::Thickness::thin};
inline constexpr Material Material::regular{Material::Thickness::regular};
inline constexpr Material Material::thick{Material::Thickness::thick};
inline constexpr Material Material::ultraThick{Material::Thickness::ultraThick};

} // namespace ui
