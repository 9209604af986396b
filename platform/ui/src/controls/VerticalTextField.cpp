#include "TextFieldKinds.h"

#include "ui/EnvironmentKeys.h"
#include "ui/TextEnvironment.h"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace ui::detail {

std::shared_ptr<VerticalTextField::Coordinator> VerticalTextField::makeCoordinator() const {
    return std::make_shared<Coordinator>(Coordinator{text_, false});
}

std::unique_ptr<TextEditorWidget> VerticalTextField::makeWidget(const Context& context) const {
    auto editor = std::make_unique<TextEditorWidget>();
    editor->setFrameShape(QFrame::NoFrame);
    // A field, not a document: Tab moves on, and it never scrolls sideways or shows bars.
    editor->setTabChangesFocus(true);
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    std::weak_ptr<Coordinator> coordinator = context.coordinator;
    auto* widget = editor.get();
    QObject::connect(widget, &QPlainTextEdit::textChanged, widget, [coordinator, widget] {
        auto c = coordinator.lock();
        if (c && !c->updating) c->text.set(widget->toPlainText().toStdString());
    });
    return editor;
}

void VerticalTextField::updateWidget(TextEditorWidget& editor, const Context& context) const {
    auto& coordinator = *context.coordinator;
    coordinator.text = text_;
    editor.setPlaceholderText(QString::fromStdString(prompt_));
    editor.setEnabled(context.environment.get<IsEnabledKey>());
    editor.setFont(context.environment.get<FontKey>().value_or(Font::body()).resolveForWidget(fontContext(context.environment)));
    showText(editor, text_.get(), coordinator.updating);
}

std::optional<graphics::CGSize> VerticalTextField::sizeThatFits(const ProposedViewSize& proposal,
                                                                TextEditorWidget& editor,
                                                                const Context& context) const {
    const QFontMetricsF metrics(editor.font());
    const double margin = editor.document()->documentMargin();
    QString shown = QString::fromStdString(text_.get());
    if (shown.isEmpty()) shown = QString::fromStdString(prompt_);
    if (shown.isEmpty() || shown.endsWith('\n')) shown += ' '; // an empty last line still counts
    const QRectF natural = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), 0, shown);
    const double width = proposal.width && std::isfinite(*proposal.width)
                             ? *proposal.width
                             : std::ceil(natural.width() + 2 * margin + metrics.averageCharWidth());
    const double textWidth = std::max(1.0, width - 2 * margin);
    const QRectF wrapped = metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, shown);
    int lines = std::max(1, int(std::lround(wrapped.height() / metrics.lineSpacing())));
    if (const auto limit = context.environment.get<LineLimitKey>()) lines = std::min(lines, std::max(1, *limit));
    return graphics::CGSize{width, std::ceil(lines * metrics.lineSpacing() + 2 * margin)};
}

void showText(TextEditorWidget& editor, const std::string& text, bool& updating) {
    const QString wanted = QString::fromStdString(text);
    if (editor.toPlainText() == wanted) return;
    const int caret = editor.textCursor().position();
    updating = true;
    editor.setPlainText(wanted);
    updating = false;
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(std::min(caret, int(wanted.size())));
    editor.setTextCursor(cursor);
}

} // namespace ui::detail
