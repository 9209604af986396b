// Input of a hosting window, in the root view's coordinates (the window's logical pixels).
#include "ui/HostingWindow.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace ui {

namespace {

graphics::CGPoint rootPoint(const QPointF& position) {
    return {position.x(), position.y()};
}

} // namespace

// A thin adapter: the layer's pointer, hover and key entry points take the event here.
bool HostingWindow::forwardEvent(QEvent& event, std::optional<graphics::CGPoint> location) {
    (void)event;
    (void)location;
    return false;
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
