#include "ui/ShapeView.h"

#include "ui/DisplayList.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/ViewPrimitive.h"

#include <QPainter>

namespace ui {

namespace {

class ShapeLeaf final : public ViewPrimitive {
public:
    ShapeLeaf(std::function<Path(const graphics::CGRect&)> path, detail::ShapePaint paint)
        : path_(std::move(path))
        , paint_(std::move(paint)) {}

    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return proposal.replacingUnspecifiedDimensions();
    }

    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        if (paint_.stroked && paint_.strokeStyle.drawsNothing()) return;
        const Path outline = path_(frame);
        QPainterPath painted;
        if (paint_.stroked) {
            painted = outline.strokedPath(paint_.strokeStyle).toQPainterPath();
            painted.setFillRule(Qt::WindingFill);
        } else {
            painted = outline.toQPainterPath();
            painted.setFillRule(paint_.fillStyle.fillRule());
        }
        if (painted.isEmpty()) return;
        QBrush brush = paint_.style.brush(styleContext(environment), frame.toQRectF());
        if (brush.style() == Qt::NoBrush) return;
        if (paint_.fillStyle.antialiased) {
            list.fill(std::move(painted), std::move(brush));
            return;
        }
        list.draw(painted.boundingRect(), [painted, brush](QPainter& painter) {
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.fillPath(painted, brush);
        });
    }

    std::string_view typeName() const override { return "Shape"; }

private:
    std::function<Path(const graphics::CGRect&)> path_;
    detail::ShapePaint paint_;
};

// A colour as a view: it takes what it is offered and fills it.
class ColorLeaf final : public ViewPrimitive {
public:
    explicit ColorLeaf(Color color)
        : color_(std::move(color)) {}
    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        const QRectF rect = frame.toQRectF();
        QBrush brush = color_.brush(styleContext(environment), rect);
        if (brush.color().alpha() == 0) return;
        QPainterPath path;
        path.addRect(rect);
        list.fill(std::move(path), std::move(brush));
    }
    bool isEqual(const ViewPrimitive& other) const override {
        const auto* same = dynamic_cast<const ColorLeaf*>(&other);
        return same && same->color_ == color_;
    }
    std::string_view typeName() const override { return "Color"; }

private:
    Color color_;
};

} // namespace

namespace detail {

View shapeView(std::function<Path(const graphics::CGRect&)> path, ShapePaint paint) {
    return View(
        std::shared_ptr<const ViewPrimitive>(std::make_shared<ShapeLeaf>(std::move(path), std::move(paint))));
}

} // namespace detail

View::View(const Color& color)
    : View(std::shared_ptr<const ViewPrimitive>(std::make_shared<ColorLeaf>(color))) {}

} // namespace ui
