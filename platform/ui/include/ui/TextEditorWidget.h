#pragma once

#include <QPlainTextEdit>

namespace ui {

// The multi-line editor a TextEditor hosts. Return types a line break; Escape stays with the
// editor rather than going on to the window's shortcuts.
class TextEditorWidget : public QPlainTextEdit {
public:
    TextEditorWidget();
    // It takes the size it is offered, however small.
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
