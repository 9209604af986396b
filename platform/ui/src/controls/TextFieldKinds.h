// The two editors a TextField hosts: one line, or growing with its text.
#pragma once

#include "ui/Binding.h"
#include "ui/ProposedViewSize.h"
#include "ui/Representable.h"
#include "ui/TextEditorWidget.h"
#include "ui/TextFieldWidget.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ui::detail {

class LineTextField {
public:
    using WidgetType = TextFieldWidget;
    struct Coordinator {
        Binding<std::string> text;
        std::function<void()> submit;
    };
    using Context = RepresentableContext<LineTextField>;

    LineTextField(std::string prompt, Binding<std::string> text)
        : prompt_(std::move(prompt))
        , text_(std::move(text)) {}

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::unique_ptr<TextFieldWidget> makeWidget(const Context& context) const;
    void updateWidget(TextFieldWidget& field, const Context& context) const;

private:
    std::string prompt_;
    Binding<std::string> text_;
};

class VerticalTextField {
public:
    using WidgetType = TextEditorWidget;
    struct Coordinator {
        Binding<std::string> text;
        bool updating = false; // the editor shows the binding's text: not an edit
    };
    using Context = RepresentableContext<VerticalTextField>;

    VerticalTextField(std::string prompt, Binding<std::string> text)
        : prompt_(std::move(prompt))
        , text_(std::move(text)) {}

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::unique_ptr<TextEditorWidget> makeWidget(const Context& context) const;
    void updateWidget(TextEditorWidget& editor, const Context& context) const;
    std::optional<graphics::CGSize> sizeThatFits(const ProposedViewSize& proposal, TextEditorWidget& editor,
                                                 const Context& context) const;

private:
    std::string prompt_;
    Binding<std::string> text_;
};

// Shows `text` in `editor`, keeping the caret where it was as far as the text allows.
void showText(TextEditorWidget& editor, const std::string& text, bool& updating);

} // namespace ui::detail
