#include "ElementInterface.h"

#include "AccessibilityBridge.h"

#include "ui/Element.h"
#include "ui/HostingWindow.h"

#include <QWidget>
#include <QWindow>

#include <cmath>

namespace ui::detail {

QAccessible::Role qtRole(AccessibilityRole role) {
    switch (role) {
    case AccessibilityRole::window:
        return QAccessible::Window;
    case AccessibilityRole::group:
        return QAccessible::Grouping;
    case AccessibilityRole::button:
        return QAccessible::Button;
    case AccessibilityRole::menuButton:
        return QAccessible::ButtonMenu;
    case AccessibilityRole::checkBox:
        return QAccessible::CheckBox;
    case AccessibilityRole::radioButton:
        return QAccessible::RadioButton;
    case AccessibilityRole::comboBox:
        return QAccessible::ComboBox;
    case AccessibilityRole::list:
        return QAccessible::List;
    case AccessibilityRole::listItem:
        return QAccessible::ListItem;
    case AccessibilityRole::staticText:
        return QAccessible::StaticText;
    case AccessibilityRole::heading:
        return QAccessible::Heading;
    case AccessibilityRole::textField:
        return QAccessible::EditableText;
    case AccessibilityRole::tabList:
        return QAccessible::PageTabList;
    case AccessibilityRole::tab:
        return QAccessible::PageTab;
    case AccessibilityRole::dialog:
        return QAccessible::Dialog;
    case AccessibilityRole::image:
        return QAccessible::Graphic;
    case AccessibilityRole::link:
        return QAccessible::Link;
    }
    return QAccessible::NoRole;
}

QAccessible::State qtState(const AccessibilityState& state) {
    QAccessible::State result;
    result.focusable = state.focusable;
    result.focused = state.focused;
    result.checkable = state.checkable;
    result.checked = state.checked;
    result.disabled = state.disabled;
    result.selected = state.selected;
    result.invisible = state.invisible;
    return result;
}

QRect screenRect(AccessibilityBridge& bridge, const graphics::CGRect& frame) {
    if (frame.isNull() || frame.isEmpty()) return {};
    const QPoint origin(int(std::floor(frame.minX())), int(std::floor(frame.minY())));
    const QPoint end(int(std::ceil(frame.maxX())), int(std::ceil(frame.maxY())));
    const QWidget& window = bridge.window();
    return QRect(window.mapToGlobal(origin), window.mapToGlobal(end) - QPoint(1, 1));
}

QAccessibleInterface* childInterface(AccessibilityBridge& bridge, const AccessibilityObject& object,
                                     int index) {
    if (index < 0 || std::size_t(index) >= object.children.size()) return nullptr;
    return bridge.interfaceFor(object.children[std::size_t(index)]);
}

int indexOfChildInterface(AccessibilityBridge& bridge, const AccessibilityObject& object,
                          const QAccessibleInterface* child) {
    for (std::size_t i = 0; i < object.children.size(); ++i) {
        if (bridge.interfaceFor(object.children[i]) == child) return int(i);
    }
    return -1;
}

QAccessibleInterface* childInterfaceAt(AccessibilityBridge& bridge, const AccessibilityObject& object,
                                       QPoint global) {
    // The last drawn is on top.
    for (auto it = object.children.rbegin(); it != object.children.rend(); ++it) {
        if (screenRect(bridge, it->frame).contains(global)) return bridge.interfaceFor(*it);
    }
    return nullptr;
}

ElementInterface::ElementInterface(AccessibilityBridge& bridge, const Element& element)
    : bridge_(bridge)
    , element_(&element)
    , ref_(element.reference()) {}

const AccessibilityObject* ElementInterface::current() const {
    if (ref_.expired()) return nullptr;
    return bridge_.find(element_);
}

bool ElementInterface::isValid() const {
    return current() != nullptr;
}

QWindow* ElementInterface::window() const {
    return bridge_.window().window()->windowHandle();
}

QAccessibleInterface* ElementInterface::childAt(int x, int y) const {
    const auto* object = current();
    return object ? childInterfaceAt(bridge_, *object, QPoint(x, y)) : nullptr;
}

QAccessibleInterface* ElementInterface::parent() const {
    if (!current()) return nullptr;
    const auto* holder = bridge_.parentOf(element_);
    if (!holder || holder->role == AccessibilityRole::window) return bridge_.windowInterface();
    return bridge_.interfaceFor(*holder);
}

QAccessibleInterface* ElementInterface::child(int index) const {
    const auto* object = current();
    return object ? childInterface(bridge_, *object, index) : nullptr;
}

int ElementInterface::childCount() const {
    const auto* object = current();
    return object ? int(object->children.size()) : 0;
}

int ElementInterface::indexOfChild(const QAccessibleInterface* child) const {
    const auto* object = current();
    return object ? indexOfChildInterface(bridge_, *object, child) : -1;
}

QString ElementInterface::text(QAccessible::Text t) const {
    const auto* object = current();
    if (!object) return {};
    switch (t) {
    case QAccessible::Name:
        return QString::fromStdString(object->name);
    case QAccessible::Value:
        return QString::fromStdString(object->value);
    case QAccessible::Description:
        return QString::fromStdString(object->description);
    case QAccessible::DebugDescription:
        return QString::fromStdString(object->identifier);
    default:
        return {};
    }
}

QRect ElementInterface::rect() const {
    const auto* object = current();
    return object ? screenRect(bridge_, object->frame) : QRect();
}

QAccessible::Role ElementInterface::role() const {
    const auto* object = current();
    return object ? qtRole(object->role) : QAccessible::NoRole;
}

QAccessible::State ElementInterface::state() const {
    const auto* object = current();
    if (!object) {
        QAccessible::State gone;
        gone.invalid = true;
        return gone;
    }
    return qtState(object->state);
}

void* ElementInterface::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList ElementInterface::actionNames() const {
    const auto* object = current();
    if (!object || object->state.disabled) return {};
    switch (object->role) {
    case AccessibilityRole::checkBox:
    case AccessibilityRole::radioButton:
        return {toggleAction(), pressAction()};
    case AccessibilityRole::button:
    case AccessibilityRole::link:
    case AccessibilityRole::tab:
        return {pressAction()};
    case AccessibilityRole::menuButton:
    case AccessibilityRole::comboBox:
        return {showMenuAction(), pressAction()};
    default:
        return {};
    }
}

void ElementInterface::doAction(const QString& actionName) {
    if (!actionNames().contains(actionName)) return;
    bridge_.press(element_);
}

} // namespace ui::detail
