#include "ui/HostedFocus.h"

#include "ui/Element.h"
#include "ui/EventDispatcher.h"
#include "ui/Graph.h"
#include "ui/HostedWidgets.h"

namespace ui {

namespace {

Element* hostingElement(const QWidget& widget) {
    const auto* hosted = detail::HostedWidget::of(widget);
    return hosted ? hosted->element() : nullptr;
}

} // namespace

bool isHostedWidget(const QWidget& widget) {
    return hostingElement(widget) != nullptr;
}

bool hasHostedFocus(const QWidget& widget) {
    const auto* hosted = detail::HostedWidget::of(widget);
    return hosted && hosted->hasViewFocus();
}

bool takeHostedFocus(QWidget& widget) {
    Element* element = hostingElement(widget);
    if (!element) return false;
    EventDispatcher(element->graph()).focus(element);
    return true;
}

bool resignHostedFocus(QWidget& widget, HostedFocusMove move) {
    Element* element = hostingElement(widget);
    if (!element || !hasHostedFocus(widget)) return false;
    EventDispatcher dispatcher(element->graph());
    if (move != HostedFocusMove::clear) dispatcher.moveFocus(move == HostedFocusMove::next);
    // Alone in the focus order, it would come back to itself.
    if (dispatcher.focusedElement() == element) dispatcher.focus(nullptr);
    return true;
}

} // namespace ui
