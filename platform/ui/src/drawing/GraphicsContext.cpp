#include "ui/GraphicsContext.h"

#include "ui/DisplayList.h"
#include "ui/Graph.h"
#include "ui/GraphicsContextBackend.h"
#include "ui/Image.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/StyleContext.h"

#include <QString>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

std::string number(double value) {
    return QString::number(std::abs(value) < 1e-9 ? 0.0 : value, 'g', 6).toStdString();
}

std::string numbers(std::initializer_list<double> values) {
    std::string text;
    for (double v : values) {
        if (!text.empty()) text += ' ';
        text += number(v);
    }
    return text;
}

std::string colorText(const Color& color, const StyleContext& context = {}) {
    const auto r = color.resolve(context);
    return "color(" + numbers({r.red(), r.green(), r.blue(), r.opacity}) + ")";
}

std::string filterText(const GraphicsContext::Filter& filter) {
    if (!filter.color) return "blur(" + number(filter.blurRadius) + ")";
    const ColorFilter& f = *filter.color;
    using K = ColorFilter::Kind;
    switch (f.kind) {
    case K::brightness: return "brightness(" + number(f.amount) + ")";
    case K::contrast: return "contrast(" + number(f.amount) + ")";
    case K::saturation: return "saturation(" + number(f.amount) + ")";
    case K::hueRotation: return "hueRotation(" + number(Angle::radians(f.amount).degrees()) + "°)";
    case K::colorMultiply:
        return "colorMultiply(" + numbers({f.color[0], f.color[1], f.color[2], f.color[3]}) + ")";
    case K::colorInvert: return "colorInvert";
    case K::grayscale: return "grayscale(" + number(f.amount) + ")";
    case K::luminanceToAlpha: return "luminanceToAlpha";
    }
    return "filter";
}

// The mean stretch of a transform, so a blur scales with what it is drawn over.
double stretch(const graphics::CGAffineTransform& t) {
    const double s = std::sqrt(std::abs(t.a * t.d - t.b * t.c));
    return std::isfinite(s) ? s : 0;
}

} // namespace

// Shading

GraphicsContext::Shading GraphicsContext::Shading::color(Color color) {
    Shading s;
    s.value_ = std::move(color);
    return s;
}

GraphicsContext::Shading GraphicsContext::Shading::style(AnyShapeStyle style) {
    Shading s;
    s.value_ = std::move(style);
    return s;
}

GraphicsContext::Shading GraphicsContext::Shading::foreground() {
    return Shading();
}

GraphicsContext::Shading GraphicsContext::Shading::linearGradient(Gradient gradient, CGPoint startPoint,
                                                                   CGPoint endPoint) {
    Shading s;
    s.value_ = Linear{std::move(gradient), startPoint, endPoint};
    return s;
}

GraphicsContext::Shading GraphicsContext::Shading::radialGradient(Gradient gradient, CGPoint center,
                                                                   double startRadius, double endRadius) {
    Shading s;
    s.value_ = Radial{std::move(gradient), center, startRadius, endRadius};
    return s;
}

QBrush GraphicsContext::Shading::brush(const StyleContext& context, const QRectF& bounds) const {
    if (const auto* color = std::get_if<Color>(&value_)) return color->brush(context, bounds);
    if (const auto* style = std::get_if<AnyShapeStyle>(&value_)) return style->brush(context, bounds);
    // The gradient styles place their ends in a rectangle; one spanning the two points puts them
    // exactly there.
    if (const auto* linear = std::get_if<Linear>(&value_))
        return LinearGradient(linear->gradient, UnitPoint::topLeading, UnitPoint::bottomTrailing)
            .brush(context, QRectF(linear->start.x, linear->start.y, linear->end.x - linear->start.x,
                                   linear->end.y - linear->start.y));
    if (const auto* radial = std::get_if<Radial>(&value_))
        return RadialGradient(radial->gradient, UnitPoint::zero, radial->startRadius, radial->endRadius)
            .brush(context, QRectF(radial->center.x, radial->center.y, 0, 0));
    const auto foreground = context.foregroundStyle.value_or(AnyShapeStyle(Color::primary));
    StyleContext plain = context;
    plain.foregroundStyle.reset();
    return foreground.brush(plain, bounds);
}

std::string GraphicsContext::Shading::description() const {
    if (const auto* color = std::get_if<Color>(&value_)) return colorText(*color);
    if (std::holds_alternative<AnyShapeStyle>(value_)) return "style";
    if (const auto* linear = std::get_if<Linear>(&value_))
        return "linearGradient(" + numbers({linear->start.x, linear->start.y, linear->end.x, linear->end.y}) + ")";
    if (const auto* radial = std::get_if<Radial>(&value_))
        return "radialGradient(" +
               numbers({radial->center.x, radial->center.y, radial->startRadius, radial->endRadius}) + ")";
    return "foreground";
}

// State

std::string GraphicsContext::State::description() const {
    std::string text;
    auto add = [&](const std::string& part) {
        if (!text.empty()) text += ' ';
        text += part;
    };
    if (!transform.isIdentity())
        add("transform(" + numbers({transform.a, transform.b, transform.c, transform.d, transform.tx, transform.ty}) +
            ")");
    if (opacity != 1) add("opacity(" + number(opacity) + ")");
    if (blendMode != BlendMode::normal) add("blend(" + std::string(ui::description(blendMode)) + ")");
    if (!filters.empty()) {
        std::string list;
        for (const auto& f : filters)
            list += (list.empty() ? "" : " ") + filterText(f);
        add("filters(" + list + ")");
    }
    if (clip) {
        const QRectF b = clip->boundingRect();
        add("clip(" + numbers({b.x(), b.y(), b.width(), b.height()}) + ")");
    }
    return text;
}

// GraphicsContext

GraphicsContext::GraphicsContext(std::shared_ptr<GraphicsContextBackend> backend, EnvironmentValues environment,
                                 SymbolLookup symbols)
    : backend_(std::move(backend))
    , shared_(std::make_shared<const Shared>(Shared{std::move(environment), std::move(symbols)})) {}

GraphicsContext::GraphicsContext(std::shared_ptr<GraphicsContextBackend> backend,
                                 std::shared_ptr<const Shared> shared, State state)
    : backend_(std::move(backend))
    , shared_(std::move(shared))
    , state_(std::move(state)) {}

void GraphicsContext::concatenate(const CGAffineTransform& transform) {
    state_.transform = transform.concatenating(state_.transform);
}

void GraphicsContext::translateBy(double x, double y) {
    state_.transform = state_.transform.translatedBy(x, y);
}

void GraphicsContext::scaleBy(double x, double y) {
    state_.transform = state_.transform.scaledBy(x, y);
}

void GraphicsContext::rotate(Angle angle) {
    state_.transform = state_.transform.rotated(angle.radians());
}

void GraphicsContext::setOpacity(double opacity) {
    state_.opacity = std::isnan(opacity) ? 0 : std::clamp(opacity, 0.0, 1.0);
}

void GraphicsContext::addFilter(const Filter& filter) {
    Filter added = filter;
    if (added.multiplyColor && added.color) {
        const auto r = added.multiplyColor->resolve(styleContext(shared_->environment));
        added.color->color = {r.red(), r.green(), r.blue(), r.opacity};
        added.multiplyColor.reset();
    }
    if (!added.color) {
        if (!(added.blurRadius > 0) || !std::isfinite(added.blurRadius)) return;
        added.blurRadius *= stretch(state_.transform);
        if (!(added.blurRadius > 0)) return;
    }
    state_.filters.push_back(std::move(added));
}

void GraphicsContext::clip(const Path& path, FillStyle style) {
    QPainterPath outline = state_.transform.toQTransform().map(path.toQPainterPath());
    outline.setFillRule(style.fillRule());
    state_.clip = state_.clip ? state_.clip->intersected(outline) : outline;
}

void GraphicsContext::drawLayer(const std::function<void(GraphicsContext&)>& content) {
    auto layer = backend_->beginLayer(state_);
    if (!layer) return;
    State inner;
    inner.transform = state_.transform;
    inner.clip = state_.clip;
    GraphicsContext context(layer, shared_, std::move(inner));
    content(context);
    backend_->endLayer(*layer, state_);
}

GraphicsContext::ResolvedImage GraphicsContext::resolve(const Image& image) const {
    // Laid out and painted by the layer itself, at the size it asks for.
    Graph graph(image, {}, shared_->environment);
    graph.update();
    const CGSize size = graph.sizeThatFits(ProposedViewSize::unspecified());
    graph.setSize(size);
    graph.update();
    ResolvedImage resolved;
    resolved.size = size;
    resolved.content = std::make_shared<const DisplayList>(graph.displayList());
    resolved.label = "image";
    return resolved;
}

std::optional<GraphicsContext::ResolvedSymbol>
GraphicsContext::resolveSymbolErased(const foundation::AnyHashable& id) const {
    if (!shared_->symbols) return std::nullopt;
    return shared_->symbols(id);
}

void GraphicsContext::draw(const Drawable& drawable, CGPoint point, UnitPoint anchor) {
    if (!drawable.content) return;
    const auto placement = CGAffineTransform::translation(point.x - anchor.x * drawable.size.width,
                                                          point.y - anchor.y * drawable.size.height);
    backend_->draw(drawable, placement, state_);
}

void GraphicsContext::draw(const Drawable& drawable, const CGRect& rect) {
    if (!drawable.content || !(drawable.size.width > 0) || !(drawable.size.height > 0)) return;
    const auto placement = CGAffineTransform::scale(rect.size.width / drawable.size.width,
                                                    rect.size.height / drawable.size.height)
                               .concatenating(CGAffineTransform::translation(rect.origin.x, rect.origin.y));
    backend_->draw(drawable, placement, state_);
}

void GraphicsContext::draw(const Image& image, CGPoint point, UnitPoint anchor) {
    draw(resolve(image), point, anchor);
}

void GraphicsContext::draw(const Image& image, const CGRect& rect) {
    draw(resolve(image), rect);
}

void GraphicsContext::fill(const Path& path, const Shading& shading, FillStyle style) {
    backend_->fill(path, shading, style, state_);
}

void GraphicsContext::stroke(const Path& path, const Shading& shading, const StrokeStyle& style) {
    if (style.drawsNothing()) return;
    backend_->stroke(path, shading, style, state_);
}

} // namespace ui
