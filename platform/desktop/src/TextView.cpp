#include "desktop/TextView.h"

#include "ui/FontContext.h"
#include "ui/StyleContext.h"
#include "ui/TextLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace desktop {

namespace {

bool isWindowFocusReason(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
           reason == Qt::MenuBarFocusReason;
}

// The command a key stands for, or none; Control, Option and Command keys are never commands.
std::string_view selectorOf(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return "insertNewline:";
    case Qt::Key_Escape:
        return "cancelOperation:";
    case Qt::Key_Tab:
        return key.modifiers() & Qt::ShiftModifier ? "insertBacktab:" : "insertTab:";
    case Qt::Key_Backtab:
        return "insertBacktab:";
    default:
        return {};
    }
}

} // namespace

TextView::TextView(QWidget* parent)
    : QPlainTextEdit(parent) {
    setFrameShape(QFrame::NoFrame);
    document()->setDocumentMargin(0);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setTabChangesFocus(false);
    QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!settingString_) textChangedByUser();
    });
    // Whatever changes what it paints counts, for the painted form kept while it is hidden.
    QObject::connect(document(), &QTextDocument::contentsChanged, this, [this] { changedLook(); });
    QObject::connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { changedLook(); });
    QObject::connect(this, &QPlainTextEdit::selectionChanged, this, [this] { changedLook(); });
    QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { changedLook(); });
    QObject::connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { changedLook(); });
    applyColors();
}

TextView::~TextView() = default;

std::string TextView::string() const {
    return toPlainText().toStdString();
}

void TextView::setString(std::string_view text) {
    settingString_ = true;
    setPlainText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    moveCursor(QTextCursor::End); // typing goes on after the text
    settingString_ = false;
}

void TextView::setFont(const ui::Font& font) {
    changedLook();
    font_ = font;
    const QFont resolved = font.resolveForWidget(ui::FontContext{});
    QPlainTextEdit::setFont(resolved);
    document()->setDefaultFont(resolved);
    updateGeometry();
}

void TextView::setTextColor(const ui::Color& color) {
    textColor_ = color;
    applyColors();
}

void TextView::setBackgroundColor(const ui::Color& color) {
    backgroundColor_ = color;
    applyColors();
}

void TextView::setColorScheme(ui::ColorScheme scheme) {
    if (colorScheme_ == scheme) return;
    colorScheme_ = scheme;
    applyColors();
}

void TextView::applyColors() {
    changedLook();
    ui::StyleContext context;
    context.colorScheme = colorScheme_;
    const QColor text = textColor_.resolve(context).toQColor();
    const QColor background = backgroundColor_.resolve(context).toQColor();
    QPalette colors = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colors.setColor(group, QPalette::Text, text);
        colors.setColor(group, QPalette::Base, background);
        colors.setColor(group, QPalette::Window, background);
    }
    setPalette(colors);
    // A clear background lets what is behind the view show through, live or painted.
    const bool opaque = background.alpha() > 0;
    setAutoFillBackground(opaque);
    viewport()->setAutoFillBackground(opaque);
    viewport()->update();
}

void TextView::setVerticallyResizable(bool resizable) {
    verticallyResizable_ = resizable;
    updateGeometry();
}

void TextView::setPlaceholderAttributedString(std::vector<ui::AttributedRun> placeholder) {
    placeholder_ = std::move(placeholder);
    changedLook();
    viewport()->update();
}

void TextView::setFrame(const graphics::CGRect& frame) {
    frame_ = frame;
    resize(std::max(0, int(std::ceil(frame.width()))), std::max(0, int(std::ceil(frame.height()))));
}

graphics::CGRect TextView::frame() const {
    if (frame_) return *frame_;
    using graphics::CGFloat;
    return {{CGFloat(x()), CGFloat(y())}, {CGFloat(width()), CGFloat(height())}};
}

std::optional<Window> TextView::window() {
    QWidget* top = QWidget::window();
    if (!top || top == this) return std::nullopt;
    return Window(*top);
}

QSize TextView::sizeHint() const {
    // As wide as it is offered; as tall as its lines (while it grows with them).
    auto& self = const_cast<TextView&>(*this);
    const auto used = self.layoutManager_.usedRectForTextContainer(self.textContainer_);
    return {-1, verticallyResizable_ ? int(std::ceil(used.height())) : -1};
}

QSize TextView::minimumSizeHint() const {
    return {0, 0};
}

void TextView::becomeFirstResponder() {
    if (firstResponder_) return;
    firstResponder_ = true;
    editing_ = true;
    begun_ = false;
}

void TextView::lostFirstResponder() {
    if (!firstResponder_) return;
    firstResponder_ = false;
    endEditing();
}

void TextView::resignFirstResponder() {
    if (ui::isHostedWidget(*this)) {
        // The views move their focus; it comes back here as hostedFocusChanged(false).
        ui::resignHostedFocus(*this, ui::HostedFocusMove::clear);
    } else {
        clearFocus();
    }
    lostFirstResponder();
}

void TextView::hostedFocusChanged(bool focused) {
    if (focused)
        becomeFirstResponder();
    else
        lostFirstResponder();
}

void TextView::endEditing() {
    if (!editing_) return;
    editing_ = false;
    begun_ = false;
    if (auto d = delegate()) d->textDidEndEditing(notification("NSTextDidEndEditingNotification"));
}

void TextView::textChangedByUser() {
    updateGeometry();
    // A field editor that ended at Return or Tab but kept the focus edits anew.
    if (firstResponder_ && !editing_) editing_ = true;
    auto d = delegate();
    if (editing_ && !begun_) {
        begun_ = true;
        if (d) d->textDidBeginEditing(notification("NSTextDidBeginEditingNotification"));
    }
    if (auto again = delegate()) again->textDidChange(notification("NSTextDidChangeNotification"));
}

bool TextView::command(std::string_view selector) {
    auto d = delegate();
    return d && d->doCommandBySelector(*this, selector);
}

void TextView::endByMovement(ui::HostedFocusMove move) {
    endEditing();
    if (ui::isHostedWidget(*this)) {
        if (!ui::resignHostedFocus(*this, move)) firstResponder_ = false;
        return;
    }
    if (move == ui::HostedFocusMove::clear || !QWidget::focusNextPrevChild(move == ui::HostedFocusMove::next))
        clearFocus();
    firstResponder_ = false;
}

bool TextView::event(QEvent* event) {
    if (event->type() != QEvent::Paint) changedLook();
    if (event->type() == QEvent::ShortcutOverride) {
        // The editor's own keys are never the window's shortcuts while it has the focus.
        auto& key = static_cast<QKeyEvent&>(*event);
        if (!selectorOf(key).empty()) {
            event->accept();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

bool TextView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::Paint) changedLook();
    return QPlainTextEdit::viewportEvent(event);
}

void TextView::keyPressEvent(QKeyEvent* event) {
    const std::string_view selector = selectorOf(*event);
    if (selector.empty()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Handled here in every case, so that the key never goes on to the window.
    event->accept();
    if (command(selector)) return;
    if (selector == "cancelOperation:") return;
    if (fieldEditor_) {
        endByMovement(selector == "insertNewline:"  ? ui::HostedFocusMove::clear
                      : selector == "insertTab:"    ? ui::HostedFocusMove::next
                                                    : ui::HostedFocusMove::previous);
        return;
    }
    if (selector == "insertBacktab:") return;
    if (selector == "insertNewline:")
        insertPlainText(QStringLiteral("\n"));
    else
        insertPlainText(QStringLiteral("\t"));
}

void TextView::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    if (!ui::isHostedWidget(*this)) becomeFirstResponder();
}

void TextView::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    if (!ui::isHostedWidget(*this) && !isWindowFocusReason(event->reason())) lostFirstResponder();
}

void TextView::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    if (placeholder_.empty() || !document()->isEmpty()) return;
    QPainter painter(viewport());
    const ui::TextLayout layout(placeholder_, {}, viewport()->width(), std::nullopt);
    const QPointF origin = blockBoundingGeometry(document()->firstBlock()).translated(contentOffset()).topLeft();
    layout.draw(painter, origin);
}

} // namespace desktop
