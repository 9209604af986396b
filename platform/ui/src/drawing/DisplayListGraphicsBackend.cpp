#include "ui/DisplayListGraphicsBackend.h"

#include "BlurredDotBatch.h"
#include "BlurredDotLayer.h"

#include "foundation/Logger.h"

namespace ui {

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.ui", "Canvas");
    return log;
}

constexpr qreal rim = 1; // antialiased edges reach this far past an outline

// Filters in the order they were added, consecutive colour filters sharing one layer.
struct FilterGroup {
    std::vector<ColorFilter> colors;
    double blurRadius = 0;
};

std::vector<FilterGroup> groups(const std::vector<GraphicsContext::Filter>& filters) {
    std::vector<FilterGroup> result;
    for (const auto& filter : filters) {
        if (filter.color) {
            if (result.empty() || result.back().blurRadius > 0) result.emplace_back();
            result.back().colors.push_back(*filter.color);
        } else {
            result.push_back({{}, filter.blurRadius});
        }
    }
    return result;
}

// The list within `root` to record one draw into, whose content covers `bounds` (canvas
// coordinates) before its transform; `transformed` whether the draw's own transform applies.
DisplayList* target(DisplayList& root, const GraphicsContextBackend::State& state, QRectF bounds,
                    bool transformed) {
    const QTransform transform = transformed ? state.transform.toQTransform() : QTransform();
    if (transformed) bounds = transform.mapRect(bounds);
    if (state.clip) bounds = bounds.intersected(state.clip->boundingRect());

    DisplayList* list = &root;
    if (state.opacity < 1 || state.blendMode != BlendMode::normal) {
        DisplayList::LayerStyle style;
        style.opacity = state.opacity;
        style.blendMode = compositionMode(state.blendMode).value_or(QPainter::CompositionMode_SourceOver);
        list = &list->layer(std::move(style));
    }
    // Each filter works on what the filters before it made, which a blur has spread.
    const auto filterGroups = groups(state.filters);
    std::vector<QRectF> covered;
    for (const auto& group : filterGroups) {
        covered.push_back(bounds);
        const qreal reach = 3 * group.blurRadius;
        bounds.adjust(-reach, -reach, reach, reach);
    }
    for (std::size_t i = filterGroups.size(); i-- > 0;) {
        DisplayList::LayerStyle style;
        style.colorFilters = filterGroups[i].colors;
        style.blurRadius = filterGroups[i].blurRadius;
        style.bounds = covered[i];
        list = &list->layer(std::move(style));
    }
    if (state.clip) {
        DisplayList::LayerStyle style;
        style.clip = *state.clip;
        list = &list->layer(std::move(style));
    }
    if (!transform.isIdentity()) {
        DisplayList::LayerStyle style;
        style.transform = transform;
        list = &list->layer(std::move(style));
    }
    return list;
}

} // namespace

DisplayListGraphicsBackend::DisplayListGraphicsBackend(StyleContext style)
    : style_(std::move(style))
    , dots_(std::make_shared<detail::BlurredDotLayer>()) {}

bool DisplayListGraphicsBackend::accepting() const {
    if (!closed_) return true;
    logger().error(
        "a graphics context was drawn into after its canvas or layer had finished; the draw is dropped");
    return false;
}

DisplayList DisplayListGraphicsBackend::takeList() {
    flush();
    DisplayList taken = std::move(*list_);
    *list_ = DisplayList();
    return taken;
}

void DisplayListGraphicsBackend::fill(const Path& path, const GraphicsContext::Shading& shading,
                                      FillStyle style, const State& state) {
    if (!accepting() || path.isEmpty()) return;
    QPainterPath outline = path.toQPainterPath();
    outline.setFillRule(style.fillRule());
    const QRectF bounds = outline.boundingRect();
    const QBrush brush = shading.brush(style_, bounds);
    dots_->fill(outline, brush, state);
    const QRectF covered = bounds.adjusted(-rim, -rim, rim, rim);
    if (dots_->qualifiesSoFar()) {
        if (pending_.empty()) pending_.reserve(2); // as a dot layer mostly holds
        pending_.push_back({std::move(outline), brush, state, covered});
        return;
    }
    flush();
    target(*list_, state, covered, true)->fill(outline, brush);
}

void DisplayListGraphicsBackend::stroke(const Path& path, const GraphicsContext::Shading& shading,
                                        const StrokeStyle& style, const State& state) {
    if (!accepting() || path.isEmpty()) return;
    dots_->disqualify();
    flush();
    const QPainterPath outline = path.strokedPath(style).toQPainterPath();
    if (outline.isEmpty()) return;
    const QRectF bounds = path.toQPainterPath().boundingRect();
    target(*list_, state, outline.boundingRect().adjusted(-rim, -rim, rim, rim), true)
        ->fill(outline, shading.brush(style_, bounds));
}

void DisplayListGraphicsBackend::draw(const GraphicsContext::Drawable& drawable,
                                      const graphics::CGAffineTransform& placement, const State& state) {
    if (!accepting() || !drawable.content || drawable.content->isEmpty()) return;
    dots_->disqualify();
    flush();
    const QTransform place = placement.toQTransform();
    DisplayList* list = target(*list_, state, place.mapRect(drawable.content->paintedBounds()), true);
    DisplayList::LayerStyle style;
    style.transform = place;
    list->layer(std::move(style)) = *drawable.content;
}

std::shared_ptr<GraphicsContextBackend> DisplayListGraphicsBackend::beginLayer(const State&) {
    if (!accepting()) return nullptr;
    dots_->disqualify();
    return std::make_shared<DisplayListGraphicsBackend>(style_);
}

void DisplayListGraphicsBackend::endLayer(GraphicsContextBackend& layer, const State& state) {
    auto* inner = dynamic_cast<DisplayListGraphicsBackend*>(&layer);
    if (!inner) return;
    inner->close();
    if (!accepting() || (inner->pending_.empty() && inner->list_->isEmpty())) return;
    if (inner->dots_->qualifies() && state.filters.empty() && !state.clip &&
        state.blendMode == BlendMode::normal) {
        recordPending();
        // The layer's own list, made only if the cache cannot paint it.
        auto exact = [fills = std::move(inner->pending_)] {
            DisplayList list;
            record(list, fills);
            return list;
        };
        inner->pending_.clear();
        if (!batch_) batch_ = std::make_shared<detail::BlurredDotBatch>();
        batch_->add(*inner->dots_, std::move(exact), state.opacity);
        return;
    }
    flush();
    // The layer's draws carry their own transforms. Its list is moved: the layer is finished.
    DisplayList& into = target(*list_, state, inner->list().paintedBounds(), false)->layer({});
    into = inner->takeList();
}

void DisplayListGraphicsBackend::record(DisplayList& list, const std::vector<PendingFill>& fills) {
    for (const PendingFill& f : fills)
        target(list, f.state, f.bounds, true)->fill(f.outline, f.brush);
}

void DisplayListGraphicsBackend::flush() const {
    if (batch_ && !batch_->isEmpty()) {
        DisplayList::Draw dots = batch_->take();
        list_->draw(dots.bounds, std::move(dots.paint));
    }
    recordPending();
}

void DisplayListGraphicsBackend::recordPending() const {
    record(*list_, pending_);
    pending_.clear();
}

} // namespace ui
