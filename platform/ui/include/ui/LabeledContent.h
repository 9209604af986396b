#pragma once

#include "ui/View.h"

#include <string>

namespace ui {

// A label with the content it names. On its own it puts the label at the leading end and the
// content at the trailing end; a Form lines labels and contents up in columns.
struct LabeledContent {
    LabeledContent(Text title, View content)
        : label(View(std::move(title)))
        , content(std::move(content)) {}
    LabeledContent(const char* title, View content)
        : LabeledContent(Text(title), std::move(content)) {}
    // A value shown as secondary text.
    LabeledContent(Text title, std::string value);
    LabeledContent(View content, View label)
        : label(std::move(label))
        , content(std::move(content)) {}

    View label;
    View content;

    View body(ViewContext& ctx) const;
};

} // namespace ui
