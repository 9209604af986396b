#include "ui/HostedWidgets.h"

#include <QPainterPath>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace ui {

namespace detail {

HostedWidget::HostedWidget(HostedWidgets& registry)
    : registry_(&registry) {}

HostedWidget::~HostedWidget() {
    retire();
}

void HostedWidget::adopt(QWidget* widget) {
    widget_ = widget;
    if (!widget) return;
    widget->hide();
    if (auto* container = registry_->container()) widget->setParent(container);
    registry_->add(this);
}

void HostedWidget::retire() {
    if (registry_) registry_->remove(this);
    registry_ = nullptr;
    live_ = false;
    if (QWidget* widget = widget_.data()) {
        widget->hide();
        widget->deleteLater();
    }
    widget_.clear();
}

void HostedWidget::paint(QPainter& painter, const QRectF& bounds) const {
    QWidget* widget = widget_.data();
    if (!widget) return;
    painter.save();
    painter.translate(bounds.topLeft());
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.restore();
}

namespace {

constexpr CGFloat flexibleIdeal = 10; // what a widget without a size hint asks for

// One axis of a widget's answer to a proposal, from its size hint, limits and policy.
CGFloat fitAxis(std::optional<CGFloat> proposed, int hint, int minimumHint, int minimum, int maximum,
                QSizePolicy::Policy policy) {
    const bool hasHint = hint >= 0;
    const bool grows = !hasHint || (policy & QSizePolicy::GrowFlag);
    const bool shrinks = !hasHint || (policy & QSizePolicy::ShrinkFlag);
    const CGFloat ideal = std::clamp<CGFloat>(hasHint ? hint : flexibleIdeal, minimum, maximum);
    CGFloat lower = ideal;
    if (shrinks) {
        lower = minimum;
        if (minimumHint >= 0 && !(policy & QSizePolicy::IgnoreFlag))
            lower = std::max<CGFloat>(lower, minimumHint);
        lower = std::min(lower, ideal);
    }
    const CGFloat upper = grows ? CGFloat(maximum) : ideal;
    if (!proposed) return ideal;
    if (std::isinf(*proposed))
        return grows && maximum >= QWIDGETSIZE_MAX ? std::numeric_limits<CGFloat>::infinity() : upper;
    return std::clamp(*proposed, lower, upper);
}

} // namespace

graphics::CGSize HostedWidget::sizeThatFits(const ProposedViewSize& proposal) const {
    if (auto custom = customSize(proposal)) return *custom;
    const QWidget* widget = widget_.data();
    if (!widget) return {0, 0};
    const QSize hint = widget->sizeHint();
    const QSize minimumHint = widget->minimumSizeHint();
    const QSizePolicy policy = widget->sizePolicy();
    return {fitAxis(proposal.width, hint.width(), minimumHint.width(), widget->minimumWidth(),
                    widget->maximumWidth(), policy.horizontalPolicy()),
            fitAxis(proposal.height, hint.height(), minimumHint.height(), widget->minimumHeight(),
                    widget->maximumHeight(), policy.verticalPolicy())};
}

void HostedWidgetPaint::operator()(QPainter& painter) const {
    auto shown = hosted.lock();
    if (!shown || shown->isLive()) return;
    shown->paint(painter, bounds);
}

} // namespace detail

void HostedWidgets::setContainer(QWidget* container) {
    container_ = container;
    for (auto* hosted : widgets_) {
        if (QWidget* widget = hosted->widget()) {
            hosted->live_ = false;
            widget->hide();
            widget->setParent(container);
        }
    }
}

void HostedWidgets::remove(detail::HostedWidget* hosted) {
    widgets_.erase(std::remove(widgets_.begin(), widgets_.end(), hosted), widgets_.end());
}

namespace {

struct Placement {
    QRectF frame;
    std::optional<QPainterPath> clip;
    bool plain = true;
};

using Placements = std::unordered_map<const detail::HostedWidget*, Placement>;

void findHosted(const DisplayList& list, const QTransform& transform, const std::optional<QPainterPath>& clip,
                bool plain, Placements& found) {
    for (const auto& item : list.items()) {
        if (const auto* draw = std::get_if<DisplayList::Draw>(&item)) {
            const auto* paint = draw->paint.target<detail::HostedWidgetPaint>();
            if (!paint) continue;
            // A widget drawn through a scale, turn or perspective is painted by the layer at its
            // own size, so it keeps that size rather than the bounds of where it shows.
            if (auto hosted = paint->hosted.lock())
                found[hosted.get()] =
                    Placement{plain ? transform.mapRect(paint->bounds) : paint->bounds, clip, plain};
        } else if (const auto* layer = std::get_if<DisplayList::Layer>(&item)) {
            // As the renderer does: the layer's transform goes before what is in force, and its
            // clip is in the transformed coordinates.
            const QTransform inner = layer->style.transform * transform;
            std::optional<QPainterPath> innerClip = clip;
            if (layer->style.clip) {
                const QPainterPath mapped = inner.map(*layer->style.clip);
                innerClip = clip ? clip->intersected(mapped) : mapped;
            }
            const bool innerPlain =
                plain && !layer->style.needsOffscreen() && inner.type() <= QTransform::TxTranslate;
            findHosted(*layer->content, inner, innerClip, innerPlain, found);
        }
    }
}

// Whole pixels, keeping both edges where they round to.
QRect pixelRect(const QRectF& rect) {
    const int left = static_cast<int>(std::lround(rect.left()));
    const int top = static_cast<int>(std::lround(rect.top()));
    return QRect(left, top, std::max(0, static_cast<int>(std::lround(rect.right())) - left),
                 std::max(0, static_cast<int>(std::lround(rect.bottom())) - top));
}

} // namespace

void HostedWidgets::sync(const DisplayList& list) {
    Placements found;
    findHosted(list, QTransform(), std::nullopt, true, found);
    QWidget* container = container_.data();
    for (auto* hosted : widgets_) {
        QWidget* widget = hosted->widget();
        if (!widget) continue;
        if (container && widget->parentWidget() != container) widget->setParent(container);
        auto it = found.find(hosted);
        if (it == found.end()) {
            hosted->live_ = false;
            widget->hide();
            continue;
        }
        const Placement& placement = it->second;
        const QRect geometry = pixelRect(placement.frame);
        widget->setGeometry(geometry);
        QRegion visible(0, 0, geometry.width(), geometry.height());
        if (placement.clip) {
            QPainterPath local = placement.clip->translated(-geometry.topLeft());
            visible &= QRegion(local.toFillPolygon().toPolygon());
        }
        // A hidden widget without a host window would show as a window of its own.
        const bool live = container && placement.plain && hosted->wantsLive() && !visible.isEmpty();
        hosted->live_ = live;
        if (!live) {
            widget->hide();
            continue;
        }
        if (placement.clip && visible != QRegion(0, 0, geometry.width(), geometry.height()))
            widget->setMask(visible);
        else
            widget->clearMask();
        widget->show();
    }
}

} // namespace ui
