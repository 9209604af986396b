#pragma once

#include "ui/Binding.h"
#include "ui/LayoutAxis.h"
#include "ui/TextEditorWidget.h"
#include "ui/TextFieldWidget.h"
#include "ui/View.h"

#include <string>

namespace ui {

// A text editor bound to a string, with a prompt shown while it is empty. Each edit writes the
// binding. It takes the keyboard focus like any focusable view (Tab, a click, a focused()
// binding) and shows as a live Qt editor only while it has it; otherwise the layer paints it.
//
// Horizontal (the default): one line; Return runs the onSubmit actions around it.
// Vertical: wraps to the width it is offered and is as high as its text, at most `lineLimit`
// lines when one is set; Return types a line break and Tab moves the focus on.
class TextField {
public:
    TextField(std::string prompt, Binding<std::string> text, Axis axis = Axis::horizontal)
        : prompt_(std::move(prompt))
        , text_(std::move(text))
        , axis_(axis) {}

    View body(ViewContext& ctx) const;

private:
    std::string prompt_;
    Binding<std::string> text_;
    Axis axis_;
};

} // namespace ui
