#include "desktop/KeySequence.h"

#include <QChar>

namespace desktop {

namespace {

int qtKey(ui::KeyEquivalent key) {
    using K = ui::KeyEquivalent;
    if (key == K::return_) return Qt::Key_Return;
    if (key == K::escape) return Qt::Key_Escape;
    if (key == K::tab) return Qt::Key_Tab;
    if (key == K::delete_) return Qt::Key_Backspace;
    if (key == K::deleteForward) return Qt::Key_Delete;
    if (key == K::space) return Qt::Key_Space;
    if (key == K::upArrow) return Qt::Key_Up;
    if (key == K::downArrow) return Qt::Key_Down;
    if (key == K::leftArrow) return Qt::Key_Left;
    if (key == K::rightArrow) return Qt::Key_Right;
    if (key == K::home) return Qt::Key_Home;
    if (key == K::end) return Qt::Key_End;
    if (key == K::pageUp) return Qt::Key_PageUp;
    if (key == K::pageDown) return Qt::Key_PageDown;
    if (key == K::clear) return Qt::Key_Clear;
    const char32_t c = key.character;
    if (c <= 0x20 || (c >= 0xF700 && c <= 0xF8FF) || c > 0x10FFFF) return 0;
    // Qt names printable keys by their upper-case character.
    if (c < 0x10000) return QChar(char16_t(c)).toUpper().unicode();
    return int(c);
}

} // namespace

QKeySequence keySequence(const ui::KeyboardShortcut& shortcut) {
    const int key = qtKey(shortcut.key);
    if (!key) return {};
    Qt::KeyboardModifiers modifiers;
    const auto m = shortcut.modifiers;
    if (m.contains(ui::EventModifiers::command)) modifiers |= Qt::ControlModifier;
    if (m.contains(ui::EventModifiers::control)) modifiers |= Qt::MetaModifier;
    if (m.contains(ui::EventModifiers::option)) modifiers |= Qt::AltModifier;
    if (m.contains(ui::EventModifiers::shift)) modifiers |= Qt::ShiftModifier;
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

} // namespace desktop
