#pragma once

#include "ui/ShaderPass.h"
#include "ui/ColorFilter.h"
#include "ui/Shadow.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>
#include <QTransform>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace ui {

// What a laid-out tree paints, in root coordinates, back to front. Leaves record into it;
// effects wrap what their content records in a layer.
class DisplayList {
public:
    struct Fill {
        QPainterPath path; // its fill rule decides even-odd or winding
        QBrush brush;
    };
    struct Stroke {
        QPainterPath path;
        QPen pen;
    };
    struct Image {
        QRectF target;
        QImage image;
    };
    // Anything that paints itself, such as laid-out text. `bounds` is where it paints.
    struct Draw {
        QRectF bounds;
        std::function<void(QPainter&)> paint;
    };
    // A group painted under a transform and clip; with an opacity below 1, a blend mode other
    // than source-over, a mask or `isolated`, it is first painted offscreen (bounded by the
    // surface) and then composited as one image.
    struct LayerStyle {
        qreal opacity = 1;
        QPainter::CompositionMode blendMode = QPainter::CompositionMode_SourceOver;
        QTransform transform;
        std::optional<QPainterPath> clip;        // in the layer's coordinates, after `transform`
        std::shared_ptr<const DisplayList> mask; // its alpha masks the content
        bool isolated = false;
        // Effects that spread past the content; painted through an OffscreenLayer around
        // `bounds` (root coordinates) grown by how far they reach. An opaque blur keeps the
        // content's own coverage instead of fading its edges. A masked layer with bounds
        // (a shape's clip) is made only as large as them.
        std::optional<Shadow> shadow;
        qreal blurRadius = 0;
        bool blurOpaque = false;
        QRectF bounds;
        // A shader run over the layer's pixels: the content is painted offscreen inside
        // `bounds` (and clipped to them), shaded, then composited with the opacity and blend
        // mode. A layer with a shader carries no other effect.
        std::shared_ptr<const ShaderPass> shader;
        // Applied in order to the content's pixels (before a blur or shadow), each as plain
        // numbers so they can be animated.
        std::vector<ColorFilter> colorFilters;

        bool spreads() const { return shadow || blurRadius > 0; }
        // How far the spreading effects reach past the content: three standard deviations of
        // the blur, or of the shadow plus its offset.
        qreal reach() const;
        bool needsOffscreen() const {
            return opacity < 1 || blendMode != QPainter::CompositionMode_SourceOver || mask || isolated ||
                   spreads() || shader || !colorFilters.empty();
        }
    };
    struct Layer {
        LayerStyle style;
        std::shared_ptr<DisplayList> content;

        // Where the content paints, through the layer's transform and clip, before its reach.
        QRectF contentBounds() const;
    };
    using Item = std::variant<Fill, Stroke, Image, Draw, Layer>;

    void fill(QPainterPath path, QBrush brush) { items_.push_back(Fill{std::move(path), std::move(brush)}); }
    void stroke(QPainterPath path, QPen pen) { items_.push_back(Stroke{std::move(path), std::move(pen)}); }
    void drawImage(QRectF target, QImage image) { items_.push_back(Image{target, std::move(image)}); }
    void draw(QRectF bounds, std::function<void(QPainter&)> paint) {
        items_.push_back(Draw{bounds, std::move(paint)});
    }
    // Starts a layer; what is recorded into the returned list is painted inside it.
    DisplayList& layer(LayerStyle style);

    const std::vector<Item>& items() const { return items_; }
    // Where the items may paint, in the list's coordinates: never smaller than what they paint
    // (antialiased rims, pen widths, layers through their transforms and clips, and the reach
    // of blurs and shadows included). Content drawn through a geometry effect may paint far
    // from its frame; in perspective this may be very large. A null rectangle when nothing
    // paints.
    QRectF paintedBounds() const;
    bool isEmpty() const { return items_.empty(); }

private:
    std::vector<Item> items_;
};

} // namespace ui
