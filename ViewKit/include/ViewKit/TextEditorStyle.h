#pragma once

#include "ui/Color.h"
#include "ui/TextEditor.h"
#include "ui/View.h"

#include <optional>

namespace ViewKit {

// The look of a multi-line text editor: the editor as it is, or in a rounded frame (corner
// radius 5) stroked faintly or in a chosen colour and width. The stroke is centred on the edge,
// so half of it lies outside the editor.
class TextEditorStyle {
public:
    enum class Kind { automatic, plain, roundedBorder, roundedColorBorder };

    static TextEditorStyle automatic() { return TextEditorStyle(Kind::automatic); }
    static TextEditorStyle plain() { return TextEditorStyle(Kind::plain); }
    static TextEditorStyle roundedBorder() { return TextEditorStyle(Kind::roundedBorder); }
    static TextEditorStyle roundedColorBorder(ui::Color color, double width) {
        TextEditorStyle style(Kind::roundedColorBorder);
        style.color_ = std::move(color);
        style.width_ = width;
        return style;
    }

    Kind kind() const { return kind_; }
    // The frame's colour and width (roundedBorder: the primary colour at 0.17, 0.5 wide);
    // nothing for the unframed kinds.
    std::optional<ui::Color> color() const;
    double width() const;

    bool operator==(const TextEditorStyle&) const = default;

private:
    explicit TextEditorStyle(Kind kind)
        : kind_(kind) {}

    Kind kind_;
    std::optional<ui::Color> color_;
    double width_ = 0;
};

// The editor dressed in `style`. Styles of one kind of frame (none, the faint one, a coloured
// one) keep the editor when they change into each other; any other change makes a new editor,
// whose text stays in its binding.
ui::View textEditorStyle(ui::TextEditor editor, const TextEditorStyle& style);

} // namespace ViewKit
