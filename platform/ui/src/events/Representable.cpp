#include "ui/Representable.h"

#include "foundation/Logger.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPainterPath>

#include <atomic>

namespace ui::detail {

bool canHostWidgets() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) return true;
    static std::atomic<bool> told{false};
    if (!told.exchange(true)) {
        static const foundation::Logger log("org.quoril.ui", "Representable");
        log.error("hosted widgets need a QApplication; representables stay empty");
    }
    return false;
}

HostedWidget* HostedWidgetNode::hosted(const Element& element) {
    if (!element.nodeAs<HostedWidgetNode>()) return nullptr;
    // The element made its hosted widget at its first update; this only looks it up.
    auto& mutableElement = const_cast<Element&>(element);
    return mutableElement.slot<HostedWidget>(slotName, [] { return std::shared_ptr<HostedWidget>(); }).get();
}

graphics::CGSize HostedWidgetNode::sizeThatFits(Element& element, const ProposedViewSize& proposal) const {
    auto* shown = hosted(element);
    return shown ? shown->sizeThatFits(proposal) : graphics::CGSize{0, 0};
}

void HostedWidgetNode::hitTestEffect(const Element& element, HitTestEffect& effect) const {
    QPainterPath shape;
    shape.addRect(element.frame().toQRectF());
    effect.contentShape = shape;
}

void HostedWidgetNode::render(const Element& element, DisplayList& list) const {
    auto& mutableElement = const_cast<Element&>(element);
    auto shown = mutableElement.slot<HostedWidget>(slotName, [] { return std::shared_ptr<HostedWidget>(); });
    if (!shown) return;
    const QRectF bounds = element.frame().toQRectF();
    list.draw(bounds, HostedWidgetPaint{shown, bounds});
}

} // namespace ui::detail
