#include "ui/QtInput.h"

#include <QKeyEvent>
#include <QString>

namespace ui {

EventModifiers eventModifiers(Qt::KeyboardModifiers modifiers) {
    EventModifiers result;
    if (modifiers & Qt::ShiftModifier) result = result | EventModifiers::shift;
    if (modifiers & Qt::ControlModifier) result = result | EventModifiers::command;
    if (modifiers & Qt::AltModifier) result = result | EventModifiers::option;
    if (modifiers & Qt::MetaModifier) result = result | EventModifiers::control;
    if (modifiers & Qt::KeypadModifier) result = result | EventModifiers::numericPad;
    return result;
}

namespace {

std::optional<KeyEquivalent> specialKey(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyEquivalent::return_;
    case Qt::Key_Escape:
        return KeyEquivalent::escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyEquivalent::tab;
    case Qt::Key_Backspace:
        return KeyEquivalent::delete_;
    case Qt::Key_Delete:
        return KeyEquivalent::deleteForward;
    case Qt::Key_Space:
        return KeyEquivalent::space;
    case Qt::Key_Up:
        return KeyEquivalent::upArrow;
    case Qt::Key_Down:
        return KeyEquivalent::downArrow;
    case Qt::Key_Left:
        return KeyEquivalent::leftArrow;
    case Qt::Key_Right:
        return KeyEquivalent::rightArrow;
    case Qt::Key_Home:
        return KeyEquivalent::home;
    case Qt::Key_End:
        return KeyEquivalent::end;
    case Qt::Key_PageUp:
        return KeyEquivalent::pageUp;
    case Qt::Key_PageDown:
        return KeyEquivalent::pageDown;
    case Qt::Key_Clear:
        return KeyEquivalent::clear;
    default:
        return std::nullopt;
    }
}

bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<KeyPress> keyPress(const QKeyEvent& event) {
    const int key = event.key();
    if (isModifierKey(key) || key == 0 || key == Qt::Key_unknown) return std::nullopt;
    KeyPress press;
    press.modifiers = eventModifiers(event.modifiers());
    // Backtab is how Qt reports Shift-Tab.
    if (key == Qt::Key_Backtab) press.modifiers = press.modifiers | EventModifiers::shift;
    press.phase = event.type() == QEvent::KeyRelease ? KeyPress::Phase::up
                  : event.isAutoRepeat()             ? KeyPress::Phase::repeat
                                                     : KeyPress::Phase::down;
    const QString text = event.text();
    const bool typed = !text.isEmpty() && text.at(0).isPrint();
    if (typed) press.characters = text.toStdString();
    if (auto special = specialKey(key)) {
        press.key = *special;
    } else if (key < 0x110000) {
        // The key's own character, unshifted, so Ctrl-Shift-N and Ctrl-N name the same key.
        const char32_t code = char32_t(key);
        const auto lower = QString::fromUcs4(&code, 1).toLower().toUcs4();
        press.key = KeyEquivalent(lower.size() == 1 ? lower.front() : code);
    } else {
        return std::nullopt;
    }
    return press;
}

} // namespace ui
