// Input of a hosting window, in the root view's coordinates (the window's logical pixels).
#include "ui/HostingWindow.h"

#include "ui/EventDispatcher.h"
#include "ui/HostedFocus.h"
#include "ui/QtInput.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace ui {

namespace {

graphics::CGPoint rootPoint(const QPointF& position) {
    return {position.x(), position.y()};
}

// How far a wheel notch moves the content: a few lines of text.
constexpr double kPointsPerLine = 16;

// The content's move for a wheel or touchpad event: the touchpad's own pixels when Qt has them,
// else lines per notch. Positive deltas from Qt mean "towards the top", so they turn round.
graphics::CGSize scrollDelta(const QWheelEvent& wheel) {
    QPointF delta;
    if (!wheel.pixelDelta().isNull()) {
        delta = QPointF(wheel.pixelDelta());
    } else {
        delta = QPointF(wheel.angleDelta()) / 120.0 * QApplication::wheelScrollLines() * kPointsPerLine;
    }
    // Shift turns a plain wheel sideways, as on other desktops.
    if ((wheel.modifiers() & Qt::ShiftModifier) && delta.x() == 0) delta = QPointF(delta.y(), 0);
    return {-delta.x(), -delta.y()};
}

} // namespace

// A thin adapter onto the layer's event dispatcher. The writes its callbacks make invalidate the
// graph, which schedules the next update through the graph's handler.
bool HostingWindow::forwardEvent(QEvent& event, std::optional<graphics::CGPoint> location) {
    EventDispatcher dispatcher(graph_);
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // Qt's second press of a series; the dispatcher counts
    case QEvent::MouseButtonRelease: {
        auto& mouse = static_cast<QMouseEvent&>(event);
        if (!location || (mouse.button() != Qt::LeftButton && mouse.button() != Qt::RightButton)) return false;
        const PointerEvent pointer{*location,
                                   mouse.button() == Qt::RightButton ? PointerEvent::Button::secondary
                                                                     : PointerEvent::Button::primary,
                                   eventModifiers(mouse.modifiers()), std::nullopt};
        if (event.type() != QEvent::MouseButtonRelease) return dispatcher.pointerDown(pointer);
        dispatcher.pointerUp(pointer);
        return true;
    }
    case QEvent::MouseMove: {
        if (!location) return false;
        auto& mouse = static_cast<QMouseEvent&>(event);
        dispatcher.pointerMoved({*location, PointerEvent::Button::primary, eventModifiers(mouse.modifiers()),
                                 std::nullopt});
        return true;
    }
    case QEvent::Wheel: {
        if (!location) return false;
        auto& wheel = static_cast<QWheelEvent&>(event);
        return dispatcher.scroll({*location, scrollDelta(wheel), eventModifiers(wheel.modifiers())});
    }
    case QEvent::Leave:
        dispatcher.pointerExited();
        return true;
    case QEvent::KeyPress: {
        auto& key = static_cast<QKeyEvent&>(event);
        dispatcher.modifiersChanged(eventModifiers(key.modifiers()));
        if (auto press = keyPress(key)) return dispatcher.keyPress(*press);
        return true;
    }
    case QEvent::KeyRelease:
        dispatcher.modifiersChanged(eventModifiers(static_cast<QKeyEvent&>(event).modifiers()));
        return true;
    default:
        return false;
    }
}

bool HostingWindow::focusNextPrevChild(bool next) {
    // Only from a hosted editor; the window's own first focus stays Qt's to choose.
    QWidget* focused = QApplication::focusWidget();
    if (!focused || focused == this || !isAncestorOf(focused) || !isHostedWidget(*focused))
        return QWidget::focusNextPrevChild(next);
    EventDispatcher(graph_).moveFocus(next);
    return true;
}

void HostingWindow::mousePressEvent(QMouseEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::mousePressEvent(event);
}

void HostingWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::mouseReleaseEvent(event);
}

void HostingWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::mouseDoubleClickEvent(event);
}

void HostingWindow::mouseMoveEvent(QMouseEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::mouseMoveEvent(event);
}

void HostingWindow::wheelEvent(QWheelEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::wheelEvent(event);
}

void HostingWindow::keyPressEvent(QKeyEvent* event) {
    if (!forwardEvent(*event, std::nullopt)) QWidget::keyPressEvent(event);
}

void HostingWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!forwardEvent(*event, std::nullopt)) QWidget::keyReleaseEvent(event);
}

void HostingWindow::enterEvent(QEnterEvent* event) {
    if (!forwardEvent(*event, rootPoint(event->position()))) QWidget::enterEvent(event);
}

void HostingWindow::leaveEvent(QEvent* event) {
    if (!forwardEvent(*event, std::nullopt)) QWidget::leaveEvent(event);
}

} // namespace ui
