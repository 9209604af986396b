#pragma once

#include "desktop/LayoutManager.h"
#include "desktop/TextContainer.h"
#include "desktop/TextViewDelegate.h"
#include "desktop/Window.h"
#include "graphics/CGRect.h"
#include "ui/AttributedRun.h"
#include "ui/Color.h"
#include "ui/ColorScheme.h"
#include "ui/Font.h"
#include "ui/HostedFocus.h"
#include "ui/HostedPaintRevision.h"
#include "ui/WritingToolsBehavior.h"

#include <QColor>
#include <QPointF>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPlainTextEdit;

namespace desktop {

namespace detail {
class TextViewEditor;
}

// A plain-text editing view that a representable hosts. It keeps its own editing session:
// editing begins at the first change the user makes after the view took the focus and ends
// when it gives the focus up (or, as a field editor, at a Return or Tab the delegate leaves to
// it), and the delegate hears of each step. Return, Escape and Tab go to the delegate first and
// never on to the window's shortcuts.
//
// Hosted, the views' keyboard focus is its focus (ui/HostedFocus.h); on its own, Qt's focus is.
//
// Until it is first edited it draws its text itself: the editor that takes keys and clicks is
// made when the view takes the focus, a press or a key (a list of titles makes none until one
// is edited), and from then on stands in its place as its focus proxy.
class TextView : public QWidget, public ui::HostedFocusReceiver, public ui::HostedPaintRevision {
    Q_OBJECT
    // What assistive technology and other readers of widget properties take as its text.
    Q_PROPERTY(QString plainText READ plainText)

public:
    enum class FocusRingType { defaultType = 0, none = 1, exterior = 2 };

    explicit TextView(QWidget* parent = nullptr);
    ~TextView() override;

    // Held weakly, as the hosting coordinator owns it.
    void setDelegate(std::weak_ptr<TextViewDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<TextViewDelegate> delegate() const { return delegate_.lock(); }

    // The text, UTF-8. Setting it is not a change by the user: the delegate hears nothing.
    std::string string() const;
    void setString(std::string_view text);

    using QWidget::setFont;
    void setFont(const ui::Font& font);
    const std::optional<ui::Font>& textFont() const { return font_; }
    void setTextColor(const ui::Color& color);
    const ui::Color& textColor() const { return textColor_; }
    void setBackgroundColor(const ui::Color& color);
    const ui::Color& backgroundColor() const { return backgroundColor_; }
    // The appearance the colours resolve in.
    void setColorScheme(ui::ColorScheme scheme);
    ui::ColorScheme colorScheme() const { return colorScheme_; }

    void setFocusRingType(FocusRingType type) { focusRingType_ = type; }
    FocusRingType focusRingType() const { return focusRingType_; }
    // A field editor ends editing at Return and Tab instead of typing them.
    void setFieldEditor(bool fieldEditor) { fieldEditor_ = fieldEditor; }
    bool isFieldEditor() const { return fieldEditor_; }
    void setVerticallyResizable(bool resizable);
    bool isVerticallyResizable() const { return verticallyResizable_; }
    // Shown in place of an empty text, in its own fonts and colours.
    void setPlaceholderAttributedString(std::vector<ui::AttributedRun> placeholder);
    const std::vector<ui::AttributedRun>& placeholderAttributedString() const { return placeholder_; }
    void setWritingToolsBehavior(ui::WritingToolsBehavior behavior) { writingTools_ = behavior; }
    ui::WritingToolsBehavior writingToolsBehavior() const { return writingTools_; }

    LayoutManager* layoutManager() { return &layoutManager_; }
    TextContainer* textContainer() { return &textContainer_; }

    // The frame the delegate last gave it; the views place the widget, so only its size
    // follows at once (and only until the next layout).
    void setFrame(const graphics::CGRect& frame);
    graphics::CGRect frame() const;

    // The text as a Qt string: the editor's once it is there.
    QString plainText() const;

    // Hides QWidget::window(): the window as a responder chain, when the view is in one.
    std::optional<Window> window();
    // Whether it holds the focus and so edits.
    bool isFirstResponder() const { return firstResponder_; }
    // Gives the focus up, ending editing.
    void resignFirstResponder();
    // Selects the whole text (making the editor).
    void selectAll();
    // The editor, once made.
    QPlainTextEdit* editor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    void hostedFocusChanged(bool focused) override;
    std::uint64_t paintRevision() const override { return paintRevision_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class detail::TextViewEditor;
    // The editor, made now if it is not there yet.
    detail::TextViewEditor& ensureEditor();
    // The editor's part of Qt's focus events and keys (on its own, Qt's focus is the view's).
    void editorFocusIn(QFocusEvent& event);
    void editorFocusOut(QFocusEvent& event);
    bool editorKeyPress(QKeyEvent& event);
    void paintPlaceholder(QPainter& painter, QPointF origin) const;
    // A pointer event on the view itself, handed to the editor's text area.
    void forwardMouse(QMouseEvent& event);
    void becomeFirstResponder();
    void lostFirstResponder();
    void textChangedByUser();
    void endEditing();
    bool command(std::string_view selector);
    // The field editor's end at Return or Tab: editing ends and the focus moves on.
    void endByMovement(ui::HostedFocusMove move);
    void applyColors();
    TextViewNotification notification(std::string name) { return {std::move(name), this}; }
    friend class LayoutManager;
    void changedLook() { ++paintRevision_; }

    std::weak_ptr<TextViewDelegate> delegate_;
    detail::TextViewEditor* editor_ = nullptr; // a child, made on demand
    QString text_;                             // the text until the editor holds it
    QColor appliedText_, appliedBackground_;
    LayoutManager layoutManager_{*this};
    TextContainer textContainer_{*this};
    std::optional<ui::Font> font_;
    ui::Color textColor_ = ui::Color::primary;
    ui::Color backgroundColor_ = ui::Color::clear;
    ui::ColorScheme colorScheme_ = ui::ColorScheme::light;
    FocusRingType focusRingType_ = FocusRingType::defaultType;
    std::vector<ui::AttributedRun> placeholder_;
    ui::WritingToolsBehavior writingTools_ = ui::WritingToolsBehavior::automatic;
    std::optional<graphics::CGRect> frame_;
    bool fieldEditor_ = false;
    bool verticallyResizable_ = true;
    bool settingString_ = false;
    bool forwardingMouse_ = false;
    const QKeyEvent* keyLeftByEditor_ = nullptr; // on its way up from the editor
    bool firstResponder_ = false;
    bool editing_ = false; // the session runs from the focus to its end
    bool begun_ = false;   // the delegate heard "begin"
    std::uint64_t paintRevision_ = 0;
};

} // namespace desktop
