#include "ViewKit/TextEditorStyle.h"

#include "ViewKit/MainActor.h"

#include "ui/AnyShape.h"
#include "ui/RoundedRectangle.h"
#include "ui/StrokeStyle.h"
#include "ui/ViewConditional.h"

namespace ViewKit {

namespace {

ui::RoundedRectangle frameShape() {
    return ui::RoundedRectangle(graphics::CGSize{5, 5}, ui::RoundedCornerStyle::continuous);
}

ui::View framed(const ui::View& editor, const ui::Color& color, double width) {
    // The frame is drawn over the editor but never takes its clicks.
    return editor.clipShape(ui::AnyShape(frameShape()))
        .overlay(frameShape().stroke(color, ui::StrokeStyle{.lineWidth = width}).allowsHitTesting(false));
}

} // namespace

std::optional<ui::Color> TextEditorStyle::color() const {
    switch (kind_) {
    case Kind::roundedBorder:
        return ui::Color::primary.opacity(0.17);
    case Kind::roundedColorBorder:
        return color_;
    default:
        return std::nullopt;
    }
}

double TextEditorStyle::width() const {
    switch (kind_) {
    case Kind::roundedBorder:
        return 0.5;
    case Kind::roundedColorBorder:
        return width_;
    default:
        return 0;
    }
}

ui::View textEditorStyle(ui::TextEditor editor, const TextEditorStyle& style) {
    detail::requireMainActor("textEditorStyle");
    const ui::View view(std::move(editor));
    using Kind = TextEditorStyle::Kind;
    const auto kind = style.kind();
    if (kind == Kind::roundedColorBorder)
        return ui::ConditionalContent(true, framed(view, *style.color(), style.width()), ui::View());
    const ui::View inner = ui::ConditionalContent(kind == Kind::roundedBorder,
                                                  kind == Kind::roundedBorder
                                                      ? framed(view, *style.color(), style.width())
                                                      : ui::View(),
                                                  view);
    return ui::ConditionalContent(false, ui::View(), inner);
}

} // namespace ViewKit
