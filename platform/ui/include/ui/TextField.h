#pragma once

#include "ui/Binding.h"
#include "ui/Representable.h"
#include "ui/TextFieldWidget.h"

#include <memory>
#include <string>

namespace ui {

// A one-line text editor bound to a string, with a prompt shown while it is empty. Each edit
// writes the binding; Return runs the onSubmit actions around it. It takes the keyboard focus
// like any focusable view (Tab, a click, a focused() binding) and shows as a live Qt editor
// only while it has it; otherwise the layer paints it.
class TextField {
public:
    using WidgetType = TextFieldWidget;
    struct Coordinator;
    using Context = RepresentableContext<TextField>;

    TextField(std::string prompt, Binding<std::string> text)
        : prompt_(std::move(prompt))
        , text_(std::move(text)) {}

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::unique_ptr<TextFieldWidget> makeWidget(const Context& context) const;
    void updateWidget(TextFieldWidget& field, const Context& context) const;

private:
    std::string prompt_;
    Binding<std::string> text_;
};

struct TextField::Coordinator {
    Binding<std::string> text;
    std::function<void()> submit;
};

} // namespace ui
