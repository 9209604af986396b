#pragma once

#include "ui/Binding.h"
#include "ui/Representable.h"
#include "ui/TextEditorWidget.h"

#include <memory>
#include <string>

namespace ui {

// A multi-line text editor bound to a string: each edit writes the binding, and a binding that
// changes elsewhere shows in the editor. Focus and painting as for TextField.
class TextEditor {
public:
    using WidgetType = TextEditorWidget;
    struct Coordinator;
    using Context = RepresentableContext<TextEditor>;

    explicit TextEditor(Binding<std::string> text)
        : text_(std::move(text)) {}

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::unique_ptr<TextEditorWidget> makeWidget(const Context& context) const;
    void updateWidget(TextEditorWidget& editor, const Context& context) const;

private:
    Binding<std::string> text_;
};

struct TextEditor::Coordinator {
    Binding<std::string> text;
    bool updating = false; // the editor shows the binding's text: not an edit
};

} // namespace ui
