#include "ui/HostedWidgets.h"

#include "EventNodes.h"

#include "ui/Element.h"
#include "ui/EventDispatcher.h"
#include "ui/Graph.h"
#include "ui/HostedFocus.h"
#include "ui/HostedPaintRevision.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace ui {

namespace detail {

namespace {

// Which hosted widget a widget is, for the widgets that ask about their own focus.
std::unordered_map<const QWidget*, HostedWidget*>& hostedByWidget() {
    static std::unordered_map<const QWidget*, HostedWidget*> table;
    return table;
}

bool isWindowFocusReason(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

bool isEditingKey(const QKeyEvent& key) {
    const auto held = key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return held == Qt::NoModifier &&
           (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape);
}

// The innermost child at `point` that is not hidden on purpose (the host may be an unshown
// window, so visibility itself does not tell).
QWidget* childAt(QWidget& widget, QPoint point) {
    const auto children = widget.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        QWidget* child = *it;
        if (child->isHidden() || child->isWindow() || !child->geometry().contains(point)) continue;
        return childAt(*child, point - child->pos());
    }
    return &widget;
}

// What a widget that counts its changes painted last, in device pixels.
struct PaintedWidget {
    QImage image;
    std::uint64_t revision = 0;
    QSize size;
    qreal scale = 0;
    QPointF phase; // where in a device pixel the widget's origin fell
    bool active = false;
    std::uint64_t lastUse = 0;
};

struct PaintedWidgets {
    std::unordered_map<const HostedWidget*, PaintedWidget> entries;
    std::uint64_t clock = 0;
};

PaintedWidgets& paintedWidgets() {
    static PaintedWidgets painted;
    return painted;
}

// Keeps the paintings of the widgets drawn lately: rows scrolled away need none.
void trimPaintedWidgets() {
    constexpr std::size_t kept = 256;
    auto& painted = paintedWidgets();
    if (painted.entries.size() <= kept) return;
    const std::uint64_t oldest = painted.clock > kept ? painted.clock - kept : 0;
    std::erase_if(painted.entries, [&](const auto& entry) { return entry.second.lastUse <= oldest; });
}

void renderWidget(QWidget& widget, QPainter& painter) {
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

} // namespace

// Watches a text input widget: Qt's focus coming to it (by a click or by code) moves the views'
// focus there, and a focused editor's Return and Escape beat the window's shortcuts.
class HostedWidgetFilter final : public QObject {
public:
    explicit HostedWidgetFilter(HostedWidget& hosted)
        : hosted_(hosted) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            if (isEditingKey(static_cast<QKeyEvent&>(*event))) event->accept();
            break;
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (!hosted_.movingQtFocus_ && !isWindowFocusReason(reason) && !hosted_.hasViewFocus()) {
                if (Element* element = hosted_.element()) EventDispatcher(element->graph()).focus(element);
            }
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    HostedWidget& hosted_;
};

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
    hostedByWidget()[widget] = this;
    if (takesTextInput()) {
        // The views own Tab; Qt's own focus chain passes these by.
        widget->setFocusPolicy(Qt::ClickFocus);
        filter_ = std::make_unique<HostedWidgetFilter>(*this);
        widget->installEventFilter(filter_.get());
    }
}

void HostedWidget::retire() {
    paintedWidgets().entries.erase(this);
    if (registry_) registry_->remove(this);
    registry_ = nullptr;
    live_ = false;
    if (QWidget* widget = widget_.data()) {
        hostedByWidget().erase(widget);
        if (filter_) widget->removeEventFilter(filter_.get());
        widget->hide();
        widget->deleteLater();
    }
    filter_.reset();
    widget_.clear();
}

HostedWidget* HostedWidget::of(const QWidget& widget) {
    auto& table = hostedByWidget();
    // A child that takes the focus for a hosted widget (its focus proxy) counts as that widget.
    for (const QWidget* w = &widget; w;) {
        if (auto it = table.find(w); it != table.end()) return it->second;
        const QWidget* parent = w->parentWidget();
        if (!parent || parent->focusProxy() != w) return nullptr;
        w = parent;
    }
    return nullptr;
}

void HostedWidget::attach(Element& element) {
    element_ = element.reference();
}

Element* HostedWidget::element() const {
    auto ref = element_.lock();
    return ref ? ref->element : nullptr;
}

bool HostedWidget::takesTextInput() const {
    const QWidget* widget = widget_.data();
    return widget && widget->testAttribute(Qt::WA_InputMethodEnabled) && (widget->focusPolicy() & Qt::ClickFocus);
}

bool HostedWidget::hasViewFocus() const {
    Element* own = element();
    return own && focusedElement(own->graph()) == own;
}

void HostedWidget::viewFocusChanged(bool focused) {
    if (focused == toldFocus_ || !widget_) return;
    toldFocus_ = focused;
    if (!focused) {
        pendingPress_.reset();
        releaseQtFocus();
    }
    // It may answer by moving the focus again; it is told each change in turn.
    if (auto* receiver = dynamic_cast<HostedFocusReceiver*>(widget_.data())) receiver->hostedFocusChanged(focused);
}

void HostedWidget::releaseQtFocus() {
    QWidget* widget = widget_.data();
    if (!widget) return;
    QWidget* window = widget->window();
    if (window->focusWidget() != widget && !widget->hasFocus()) return;
    movingQtFocus_ = true;
    QWidget* host = registry_ ? registry_->container() : nullptr;
    if (host && host != widget && (host->focusPolicy() & Qt::TabFocus))
        host->setFocus(Qt::OtherFocusReason);
    else
        widget->clearFocus();
    movingQtFocus_ = false;
}

void HostedWidget::syncFocus() {
    QWidget* widget = widget_.data();
    if (!widget || !takesTextInput()) return;
    const bool focused = hasViewFocus();
    // The focus may also have gone with an element that went out of sight.
    viewFocusChanged(focused);
    if (!focused || !live_) {
        releaseQtFocus();
        return;
    }
    // A widget may hand its focus on to a child standing in for it.
    QWidget* target = widget;
    while (target->focusProxy())
        target = target->focusProxy();
    if (widget->window()->focusWidget() != target) {
        movingQtFocus_ = true;
        widget->setFocus(Qt::OtherFocusReason);
        movingQtFocus_ = false;
    }
    deliverPendingPress();
}

void HostedWidget::deliverPendingPress() {
    QWidget* widget = widget_.data();
    if (!pendingPress_ || !widget) return;
    const QPointF at = *pendingPress_;
    pendingPress_.reset();
    QWidget* target = childAt(*widget, at.toPoint());
    const QPointF local = at - QPointF(target->mapTo(widget, QPoint(0, 0)));
    const QPointF global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void HostedWidget::paint(QPainter& painter, const QRectF& bounds) const {
    QWidget* widget = widget_.data();
    if (!widget) return;
    const auto* counted = dynamic_cast<const HostedPaintRevision*>(widget);
    const QTransform device = painter.deviceTransform();
    const bool keepable = counted && !widget->hasFocus() && !hasViewFocus() &&
                          device.type() <= QTransform::TxScale && device.m11() == device.m22() && device.m11() > 0;
    if (!keepable) {
        painter.save();
        painter.translate(bounds.topLeft());
        renderWidget(*widget, painter);
        painter.restore();
        return;
    }
    // Drawn one to one at whole device pixels, the painting looks as rendering in place would.
    const qreal scale = device.m11();
    const QPointF at = device.map(bounds.topLeft());
    const QPoint whole(int(std::floor(at.x())), int(std::floor(at.y())));
    const QPointF phase = at - QPointF(whole);
    auto& painted = paintedWidgets();
    auto& entry = painted.entries[this];
    entry.lastUse = ++painted.clock;
    const std::uint64_t revision = counted->paintRevision();
    const bool active = widget->isActiveWindow();
    if (entry.image.isNull() || entry.revision != revision || entry.size != widget->size() || entry.scale != scale ||
        entry.phase != phase || entry.active != active) {
        const QSize pixels(int(std::ceil(widget->width() * scale + phase.x())),
                           int(std::ceil(widget->height() * scale + phase.y())));
        entry.image = QImage(pixels.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
        entry.image.fill(Qt::transparent);
        {
            QPainter offscreen(&entry.image);
            offscreen.setRenderHints(painter.renderHints());
            offscreen.setTransform(QTransform(scale, 0, 0, scale, phase.x(), phase.y()));
            renderWidget(*widget, offscreen);
        }
        entry.revision = revision;
        entry.size = widget->size();
        entry.scale = scale;
        entry.phase = phase;
        entry.active = active;
    }
    painter.save();
    // The device's own scale (a high-density image) stays below the transform set here.
    const QTransform deviceScale = painter.worldTransform().inverted() * device;
    painter.setWorldTransform(QTransform::fromTranslate(whole.x(), whole.y()) * deviceScale.inverted());
    painter.drawImage(QPointF(0, 0), entry.image);
    painter.restore();
    trimPaintedWidgets();
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

// The outline a mask covers when it is nothing but opaque fills; none otherwise.
std::optional<QPainterPath> shapeOf(const DisplayList& mask) {
    QPainterPath outline;
    for (const auto& item : mask.items()) {
        const auto* fill = std::get_if<DisplayList::Fill>(&item);
        if (!fill || fill->brush.style() != Qt::SolidPattern || fill->brush.color().alpha() != 255) return std::nullopt;
        outline = outline.united(fill->path);
    }
    return outline;
}

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
            const auto narrow = [&](const QPainterPath& path) {
                const QPainterPath mapped = inner.map(path);
                innerClip = innerClip ? innerClip->intersected(mapped) : mapped;
            };
            if (layer->style.clip) narrow(*layer->style.clip);
            // A mask that is only a shape (a smooth clip) still lets the widget live, clipped to
            // the shape: an editor with rounded corners has to take clicks and keys.
            bool offscreen = layer->style.needsOffscreen();
            if (offscreen && layer->style.mask) {
                DisplayList::LayerStyle unmasked = layer->style;
                unmasked.mask.reset();
                if (const auto outline = shapeOf(*layer->style.mask); outline && !unmasked.needsOffscreen()) {
                    narrow(*outline);
                    offscreen = false;
                }
            }
            const bool innerPlain = plain && !offscreen && inner.type() <= QTransform::TxTranslate;
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
    // Telling a widget about the focus runs its own code, which may change the registry.
    const auto all = widgets_;
    for (auto* hosted : all) {
        if (std::find(widgets_.begin(), widgets_.end(), hosted) == widgets_.end()) continue;
        QWidget* widget = hosted->widget();
        if (!widget) continue;
        if (container && widget->parentWidget() != container) widget->setParent(container);
        auto it = found.find(hosted);
        if (it == found.end()) {
            hosted->live_ = false;
            hosted->releaseQtFocus();
            widget->hide();
            hosted->syncFocus();
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
        const bool takesFocus = !hosted->takesTextInput() || hosted->hasViewFocus();
        const bool live = container && placement.plain && hosted->wantsLive() && takesFocus && !visible.isEmpty();
        hosted->live_ = live;
        if (!live) {
            // Off first, so that hiding it does not send Qt's focus along its own chain.
            hosted->releaseQtFocus();
            widget->hide();
            hosted->syncFocus();
            continue;
        }
        if (placement.clip && visible != QRegion(0, 0, geometry.width(), geometry.height()))
            widget->setMask(visible);
        else
            widget->clearMask();
        widget->show();
        hosted->syncFocus();
    }
}

} // namespace ui
