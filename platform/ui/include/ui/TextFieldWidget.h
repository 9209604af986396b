#pragma once

#include <QLineEdit>

namespace ui {

// The one-line editor a TextField hosts. Return submits and, like Escape, stays with the field
// rather than going on to the window's shortcuts.
class TextFieldWidget : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
