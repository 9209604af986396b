// The interface of a hosting window: Qt's for the widget, with the views' objects as children.
#pragma once

#include <QAccessibleWidget>

namespace ui {

class HostingWindow;

namespace detail {

class AccessibilityBridge;

class WindowInterface final : public QAccessibleWidget {
public:
    explicit WindowInterface(HostingWindow& window);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    AccessibilityBridge* bridge() const;
};

} // namespace detail

} // namespace ui
