#pragma once

#include "ui/Binding.h"
#include "ui/SubmitLabel.h"
#include "ui/View.h"

#include <functional>
#include <string>

namespace ViewKit {

// Turns a line break typed into a focused multi-line field into a submit: the line breaks go
// (carriage returns with them, so pasted "a\r\nb" submits "ab"), the field loses the focus and
// `onSubmit` runs once with the cleaned text in place. Text changed while the field is not
// focused is left alone.
struct MultilineSubmitViewModifier {
    ui::Binding<std::string> text;
    ui::SubmitLabel submitLabel;
    std::function<void()> onSubmit;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

// Apply with `view | multilineSubmit(...)` or `view.modifier(...)`.
MultilineSubmitViewModifier multilineSubmit(ui::Binding<std::string> text, ui::SubmitLabel submitLabel,
                                            std::function<void()> onSubmit);

} // namespace ViewKit
