#include "desktop/TextView.h"

#include "TextViewAccessible.h"

#include "ui/FontContext.h"
#include "ui/StyleContext.h"
#include "ui/TextLayout.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <limits>
#include <utility>

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

namespace detail {

// The editing widget a text view makes when it is first edited. It fills the view, holds the
// text from then on and hands its keys, focus and look to the view.
class TextViewEditor final : public QPlainTextEdit {
public:
    explicit TextViewEditor(TextView& owner)
        : QPlainTextEdit(&owner)
        , owner_(owner) {
        setFrameShape(QFrame::NoFrame);
        document()->setDocumentMargin(0);
        document()->setDefaultFont(owner.font());
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setTabChangesFocus(false);
        setFocusPolicy(owner.focusPolicy());
        // Its lines wrap at its width, so nothing lies to the side: a wrapped line that fills the
        // width with the caret after it would otherwise scroll the text a few pixels left.
        QObject::connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int maximum) {
            if (maximum > 0) horizontalScrollBar()->setMaximum(0);
        });
    }

    void connectToOwner() {
        QObject::connect(this, &QPlainTextEdit::textChanged, this, [this] {
            if (!owner_.settingString_) owner_.textChangedByUser();
        });
        // Whatever changes what it paints counts, for the painted form kept while it is hidden.
        const auto changed = [this] { owner_.changedLook(); };
        QObject::connect(document(), &QTextDocument::contentsChanged, this, changed);
        QObject::connect(this, &QPlainTextEdit::cursorPositionChanged, this, changed);
        QObject::connect(this, &QPlainTextEdit::selectionChanged, this, changed);
        QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, this, changed);
        QObject::connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, changed);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::Paint) owner_.changedLook();
        if (event->type() == QEvent::ShortcutOverride && !selectorOf(static_cast<QKeyEvent&>(*event)).empty()) {
            // The editor's own keys are never the window's shortcuts while it has the focus.
            event->accept();
            return true;
        }
        return QPlainTextEdit::event(event);
    }
    bool viewportEvent(QEvent* event) override {
        if (event->type() != QEvent::Paint) owner_.changedLook();
        return QPlainTextEdit::viewportEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        owner_.keyLeftByEditor_ = nullptr;
        if (!owner_.editorKeyPress(*event)) QPlainTextEdit::keyPressEvent(event);
        // Qt hands a key it leaves (a lone Shift, say) on to the view, which must not send it back.
        if (!event->isAccepted()) owner_.keyLeftByEditor_ = event;
    }
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        owner_.editorFocusIn(*event);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        owner_.editorFocusOut(*event);
    }
    void changeEvent(QEvent* event) override {
        QPlainTextEdit::changeEvent(event);
        if (event->type() == QEvent::FontChange) document()->setDefaultFont(font());
    }
    void paintEvent(QPaintEvent* event) override {
        QPlainTextEdit::paintEvent(event);
        if (!document()->isEmpty()) return;
        QPainter painter(viewport());
        owner_.paintPlaceholder(painter,
                                blockBoundingGeometry(document()->firstBlock()).translated(contentOffset()).topLeft());
    }

private:
    TextView& owner_;
};

} // namespace detail

TextView::TextView(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_InputMethodEnabled);
    setFocusPolicy(Qt::WheelFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    detail::installTextViewAccessibility();
    applyColors();
}

TextView::~TextView() = default;

QPlainTextEdit* TextView::editor() const {
    return editor_;
}

detail::TextViewEditor& TextView::ensureEditor() {
    if (editor_) return *editor_;
    editor_ = new detail::TextViewEditor(*this);
    editor_->setGeometry(rect());
    settingString_ = true;
    editor_->setPlainText(text_);
    editor_->moveCursor(QTextCursor::End); // typing goes on after the text
    settingString_ = false;
    text_.clear();
    editor_->connectToOwner();
    const bool opaque = appliedBackground_.alpha() > 0;
    editor_->setAutoFillBackground(opaque);
    editor_->viewport()->setAutoFillBackground(opaque);
    setFocusProxy(editor_);
    editor_->show();
    changedLook();
    return *editor_;
}

QString TextView::plainText() const {
    return editor_ ? editor_->toPlainText() : text_;
}

std::string TextView::string() const {
    return plainText().toStdString();
}

void TextView::setString(std::string_view text) {
    const QString value = QString::fromUtf8(text.data(), qsizetype(text.size()));
    changedLook();
    if (!editor_) {
        text_ = value;
        update();
        return;
    }
    settingString_ = true;
    editor_->setPlainText(value);
    editor_->moveCursor(QTextCursor::End); // typing goes on after the text
    settingString_ = false;
}

void TextView::selectAll() {
    ensureEditor().selectAll();
}

void TextView::setFont(const ui::Font& font) {
    changedLook();
    font_ = font;
    QWidget::setFont(font.resolveForWidget(ui::FontContext{}));
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
    ui::StyleContext context;
    context.colorScheme = colorScheme_;
    const QColor text = textColor_.resolve(context).toQColor();
    const QColor background = backgroundColor_.resolve(context).toQColor();
    // A row's colours are set again at every update; the palette changes only when they do.
    if (appliedText_.isValid() && text == appliedText_ && background == appliedBackground_) return;
    changedLook();
    appliedText_ = text;
    appliedBackground_ = background;
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
    if (editor_) {
        editor_->setAutoFillBackground(opaque);
        editor_->viewport()->setAutoFillBackground(opaque);
        editor_->viewport()->update();
    }
    update();
}

void TextView::setVerticallyResizable(bool resizable) {
    verticallyResizable_ = resizable;
    updateGeometry();
}

void TextView::setPlaceholderAttributedString(std::vector<ui::AttributedRun> placeholder) {
    placeholder_ = std::move(placeholder);
    changedLook();
    if (editor_) editor_->viewport()->update();
    update();
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
    } else if (editor_) {
        editor_->clearFocus();
    } else {
        clearFocus();
    }
    lostFirstResponder();
}

void TextView::hostedFocusChanged(bool focused) {
    if (focused) {
        // Made before it shows, so that the press that brought the focus lands in it.
        ensureEditor();
        becomeFirstResponder();
    } else {
        lostFirstResponder();
    }
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
    if (move == ui::HostedFocusMove::clear || !QWidget::focusNextPrevChild(move == ui::HostedFocusMove::next)) {
        if (editor_)
            editor_->clearFocus();
        else
            clearFocus();
    }
    firstResponder_ = false;
}

bool TextView::event(QEvent* event) {
    if (event->type() != QEvent::Paint) changedLook();
    if (event->type() == QEvent::ShortcutOverride && !selectorOf(static_cast<QKeyEvent&>(*event)).empty()) {
        // The editor's own keys are never the window's shortcuts while it has the focus.
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool TextView::editorKeyPress(QKeyEvent& event) {
    const std::string_view selector = selectorOf(event);
    if (selector.empty()) return false;
    // Handled here in every case, so that the key never goes on to the window.
    event.accept();
    if (command(selector)) return true;
    if (selector == "cancelOperation:") return true;
    if (fieldEditor_) {
        endByMovement(selector == "insertNewline:"  ? ui::HostedFocusMove::clear
                      : selector == "insertTab:"    ? ui::HostedFocusMove::next
                                                    : ui::HostedFocusMove::previous);
        return true;
    }
    if (selector == "insertBacktab:") return true;
    if (editor_) editor_->insertPlainText(selector == "insertNewline:" ? QStringLiteral("\n") : QStringLiteral("\t"));
    return true;
}

void TextView::keyPressEvent(QKeyEvent* event) {
    // A key its editor left goes on to the window, as it would have.
    if (std::exchange(keyLeftByEditor_, nullptr) == event) {
        event->ignore();
        return;
    }
    // Keys sent to the view itself go to its editor, as if it had had the focus; straight to
    // its handler, so that a key it leaves is not handed back up here.
    static_cast<QObject&>(ensureEditor()).event(event);
    keyLeftByEditor_ = nullptr;
}

void TextView::forwardMouse(QMouseEvent& event) {
    QWidget* viewport = ensureEditor().viewport();
    const QPointF local = event.position() - QPointF(viewport->mapTo(this, QPoint(0, 0)));
    QMouseEvent forwarded(event.type(), local, event.globalPosition(), event.button(), event.buttons(),
                          event.modifiers());
    // One that the text area leaves would come back up here.
    if (forwardingMouse_) return event.ignore();
    forwardingMouse_ = true;
    QCoreApplication::sendEvent(viewport, &forwarded);
    forwardingMouse_ = false;
    event.setAccepted(forwarded.isAccepted());
}

// Only the first press (and its moves and release) lands here; the editor made for it covers
// the view from then on.
void TextView::mousePressEvent(QMouseEvent* event) {
    forwardMouse(*event);
}

void TextView::mouseMoveEvent(QMouseEvent* event) {
    if (editor_) forwardMouse(*event);
}

void TextView::mouseReleaseEvent(QMouseEvent* event) {
    if (editor_) forwardMouse(*event);
}

void TextView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    // The focus came before the editor was made; it goes on to the editor.
    auto& editor = ensureEditor();
    if (!editor.hasFocus()) editor.setFocus(event->reason());
}

void TextView::editorFocusIn(QFocusEvent&) {
    if (!ui::isHostedWidget(*this)) becomeFirstResponder();
}

void TextView::editorFocusOut(QFocusEvent& event) {
    if (!ui::isHostedWidget(*this) && !isWindowFocusReason(event.reason())) lostFirstResponder();
}

void TextView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (editor_) editor_->setGeometry(rect());
}

void TextView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        changedLook();
        updateGeometry();
        update();
    }
}

void TextView::paintPlaceholder(QPainter& painter, QPointF origin) const {
    if (placeholder_.empty()) return;
    const ui::TextLayout layout(placeholder_, {}, width(), std::nullopt);
    layout.draw(painter, origin);
}

void TextView::paintEvent(QPaintEvent*) {
    if (editor_) return; // the editor paints itself
    QPainter painter(this);
    if (text_.isEmpty()) {
        paintPlaceholder(painter, QPointF(0, 0));
        return;
    }
    // As the editor lays its lines out: wrapped at its width, each paragraph below the last.
    painter.setPen(palette().color(QPalette::Text));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal lineWidth = width() > 0 ? qreal(width()) : std::numeric_limits<qreal>::max() / 4;
    qreal top = 0;
    for (const QString& paragraph : text_.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(lineWidth);
            line.setPosition(QPointF(0, top));
            top += line.height();
        }
        layout.endLayout();
        layout.draw(&painter, QPointF(0, 0));
        if (top >= height()) break;
    }
}

} // namespace desktop
