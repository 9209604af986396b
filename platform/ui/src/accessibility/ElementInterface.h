// The interface of one accessibility object that a view of the layer makes.
#pragma once

#include "ui/AccessibilityTree.h"

#include <QAccessibleInterface>

#include <memory>

namespace ui {

class Element;

namespace detail {

class AccessibilityBridge;
struct ElementRef;

QAccessible::Role qtRole(AccessibilityRole role);
QAccessible::State qtState(const AccessibilityState& state);

// Reads its object from the bridge's tree at every question, so it answers for the element as
// it stands; invalid once the element or its object is gone.
class ElementInterface final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ElementInterface(AccessibilityBridge& bridge, const Element& element);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const AccessibilityObject* current() const;

    AccessibilityBridge& bridge_;
    const Element* element_;
    std::weak_ptr<ElementRef> ref_;
};

// The children of `object` as interfaces, and what lies under a point given in the screen's
// coordinates: shared by the window and its objects.
QAccessibleInterface* childInterface(AccessibilityBridge& bridge, const AccessibilityObject& object,
                                     int index);
int indexOfChildInterface(AccessibilityBridge& bridge, const AccessibilityObject& object,
                          const QAccessibleInterface* child);
QAccessibleInterface* childInterfaceAt(AccessibilityBridge& bridge, const AccessibilityObject& object,
                                       QPoint global);
QRect screenRect(AccessibilityBridge& bridge, const graphics::CGRect& frame);

} // namespace detail

} // namespace ui
