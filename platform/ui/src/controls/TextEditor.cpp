#include "ui/TextEditor.h"

#include "TextFieldKinds.h"

#include "ui/EnvironmentKeys.h"
#include "ui/TextEnvironment.h"

#include <QKeyEvent>
#include <QTextCursor>

#include <algorithm>

namespace ui {

TextEditorWidget::TextEditorWidget() {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TextEditorWidget::keyPressEvent(QKeyEvent* event) {
    QPlainTextEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape) event->accept();
}

std::shared_ptr<TextEditor::Coordinator> TextEditor::makeCoordinator() const {
    return std::make_shared<Coordinator>(Coordinator{text_, false});
}

std::unique_ptr<TextEditorWidget> TextEditor::makeWidget(const Context& context) const {
    auto editor = std::make_unique<TextEditorWidget>();
    editor->setFrameShape(QFrame::NoFrame);
    editor->setTabChangesFocus(false);
    std::weak_ptr<Coordinator> coordinator = context.coordinator;
    auto* widget = editor.get();
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [coordinator, widget] {
        auto c = coordinator.lock();
        if (c && !c->updating) c->text.set(widget->toPlainText().toStdString());
    });
    return editor;
}

void TextEditor::updateWidget(TextEditorWidget& editor, const Context& context) const {
    auto& coordinator = *context.coordinator;
    coordinator.text = text_;
    editor.setEnabled(context.environment.get<IsEnabledKey>());
    editor.setFont(context.environment.get<FontKey>().value_or(Font::body()).resolveForWidget(fontContext(context.environment)));
    detail::showText(editor, text_.get(), coordinator.updating);
}

} // namespace ui
