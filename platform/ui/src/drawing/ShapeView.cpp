#include "ui/ShapeView.h"

#include "ui/AnimatableColor.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Gradient.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/ViewPrimitive.h"

#include "painting/RecentFew.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <deque>
#include <mutex>
#include <optional>

namespace ui {

namespace {

constexpr std::string_view colorAttribute = "color";

// A solid brush's colour animates; gradients and other patterns change at once.
QBrush solidBrush(const QBrush& brush, const Element* element) {
    if (!element || brush.style() != Qt::SolidPattern) return brush;
    // At rest it paints the colour as described, not its round trip through the engine's form.
    const auto* shown = element->findAnimatedAttribute<AnimatableColor>(colorAttribute);
    if (!shown || !shown->isAnimating()) return brush;
    return QBrush(shown->value().toQColor());
}

void animateSolidColor(Element& element, const QBrush& brush) {
    if (brush.style() == Qt::SolidPattern) element.animate(colorAttribute, AnimatableColor::from(brush.color()));
}

// Whether a style may come out as one solid colour, the only kind that animates. A linear
// gradient of two stops or more between two points apart never does, and resolving all its
// stops at every update only to find that out is dear for a gradient that changes each frame.
bool mayBeSolid(const AnyShapeStyle& style) {
    const auto* linear = style.as<LinearGradient>();
    if (!linear) return true;
    const auto& stops = linear->gradient.stops;
    const auto usable = std::count_if(
        stops.begin(), stops.end(), [](const Gradient::Stop& stop) { return std::isfinite(stop.location); });
    return usable < 2 || QPointF(linear->startPoint.x, linear->startPoint.y) ==
                             QPointF(linear->endPoint.x, linear->endPoint.y);
}

// Stroking is the dear part of painting a shape, and lists repeat the same few shapes row
// after row: the strokes of recent outlines, kept where their frame starts at the origin.
QPainterPath strokedOutline(const Path& outline, const StrokeStyle& style, const QPointF& origin) {
    struct Stroke {
        QPainterPath local;
        StrokeStyle style;
        QPainterPath stroked;
    };
    constexpr std::size_t capacity = 32;
    static std::mutex mutex;
    static std::deque<Stroke> recent;
    // Most shapes are stroked again where they were (or are shared with an earlier outline in
    // that place): those strokes are kept as they lie, with no moving back and forth.
    struct Placed {
        QPainterPath outline;
        StrokeStyle style;
        bool operator==(const Placed&) const = default;
    };
    thread_local detail::RecentFew<Placed, QPainterPath, capacity> placed;
    const Placed where{outline.toQPainterPath(), style};
    if (const auto* found = placed.find(where)) return *found;
    const auto keep = [&](QPainterPath stroked) { return placed.insert(where, std::move(stroked)); };
    const QPainterPath local = outline.toQPainterPath().translated(-origin);
    {
        std::lock_guard lock(mutex);
        for (auto it = recent.begin(); it != recent.end(); ++it) {
            if (it->style == style && it->local == local) {
                if (it != recent.begin()) std::rotate(recent.begin(), it, it + 1);
                return keep(recent.front().stroked.translated(origin));
            }
        }
    }
    QPainterPath stroked = Path::fromQPainterPath(local).strokedPath(style).toQPainterPath();
    stroked.setFillRule(Qt::WindingFill);
    std::lock_guard lock(mutex);
    recent.push_front({local, style, stroked});
    if (recent.size() > capacity) recent.pop_back();
    return keep(stroked.translated(origin));
}

class ShapeLeaf final : public ViewPrimitive {
public:
    ShapeLeaf(std::shared_ptr<const detail::ShapeOutline> outline, detail::ShapePaint paint)
        : outline_(std::move(outline))
        , paint_(std::move(paint)) {}

    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return proposal.replacingUnspecifiedDimensions();
    }

    void update(Element& element) const override {
        outline_->update(element);
        // The style's colour for this environment; the bounds do not change a solid colour.
        if (mayBeSolid(paint_.style))
            animateSolidColor(element,
                              paint_.style.brush(styleContext(element.environment()), QRectF(0, 0, 1, 1)));
    }

    void render(const Element& element, DisplayList& list) const override { paint(list, element.frame(), element); }

    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        paint(list, frame, environment, nullptr);
    }

    std::string_view typeName() const override { return "Shape"; }

private:
    void paint(DisplayList& list, const graphics::CGRect& frame, const Element& element) const {
        paint(list, frame, element.environment(), &element);
    }
    void paint(DisplayList& list, const graphics::CGRect& frame, const EnvironmentValues& environment,
               const Element* element) const {
        if (paint_.stroked && paint_.strokeStyle.drawsNothing()) return;
        const Path outline = outline_->path(frame, element);
        QPainterPath painted;
        if (paint_.stroked) {
            painted = strokedOutline(outline, paint_.strokeStyle, frame.origin.toQPointF());
        } else {
            painted = outline.toQPainterPath();
            painted.setFillRule(paint_.fillStyle.fillRule());
        }
        if (painted.isEmpty()) return;
        QBrush brush = solidBrush(brushFor(environment, frame), element);
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

    // Resolving the style reads several environment entries; a shape mostly paints again in the
    // same environment (shared, so compared by identity) and frame.
    QBrush brushFor(const EnvironmentValues& environment, const graphics::CGRect& frame) const {
        if (!brush_ || !(brushFrame_ == frame) || !(brushEnvironment_ == environment)) {
            brush_ = paint_.style.brush(styleContext(environment), frame.toQRectF());
            brushEnvironment_ = environment;
            brushFrame_ = frame;
        }
        return *brush_;
    }

    std::shared_ptr<const detail::ShapeOutline> outline_;
    detail::ShapePaint paint_;
    // Main thread only, like the rest of the graph.
    mutable std::optional<QBrush> brush_;
    mutable EnvironmentValues brushEnvironment_;
    mutable graphics::CGRect brushFrame_;
};

// A colour as a view: it takes what it is offered and fills it.
class ColorLeaf final : public ViewPrimitive {
public:
    explicit ColorLeaf(Color color)
        : color_(std::move(color)) {}
    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal, const EnvironmentValues&) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void update(Element& element) const override {
        animateSolidColor(element, color_.brush(styleContext(element.environment()), QRectF(0, 0, 1, 1)));
    }
    void render(const Element& element, DisplayList& list) const override {
        const QRectF rect = element.frame().toQRectF();
        fill(list, rect, solidBrush(color_.brush(styleContext(element.environment()), rect), &element));
    }
    void record(DisplayList& list, const graphics::CGRect& frame,
                const EnvironmentValues& environment) const override {
        const QRectF rect = frame.toQRectF();
        fill(list, rect, color_.brush(styleContext(environment), rect));
    }
    static void fill(DisplayList& list, const QRectF& rect, QBrush brush) {
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

View shapeView(std::shared_ptr<const ShapeOutline> outline, ShapePaint paint) {
    return View(
        std::shared_ptr<const ViewPrimitive>(std::make_shared<ShapeLeaf>(std::move(outline), std::move(paint))));
}

} // namespace detail

View::View(const Color& color)
    : View(std::shared_ptr<const ViewPrimitive>(std::make_shared<ColorLeaf>(color))) {}

} // namespace ui
