#pragma once

#include "ui/FormStyle.h"
#include "ui/View.h"

#include <concepts>


namespace ui {

// Rows of settings laid out by the environment's form style (View::formStyle). Its rows are
// the views of `content` (a Group's or ForEach's children); Sections group them and
// LabeledContent rows split into label and content, as do pickers (their label leaves the
// control and takes the label column or end). In the columns style the labels sit
// right-aligned in a column as wide as the widest of them and every content starts at the
// same place, rows without a label included; in the grouped style each section is a rounded
// box under its header, rows split by lines, a label at the leading end and its content at
// the trailing one.
struct Form {
    // Taking only views (not anything convertible to one) keeps Form's copy from looking
    // for a conversion through View.
    template <std::derived_from<View> V>
    explicit Form(V content)
        : content(std::move(content)) {}

    View content;

    View body(ViewContext& ctx) const;
};

} // namespace ui
