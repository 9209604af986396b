#pragma once

namespace ui {

// How a Form lays out its rows: `grouped` puts each section in a rounded box with its label
// and content at the two ends of each row; `columns` lines labels up right-aligned in one
// column and their content left-aligned in a second. `automatic` is `columns`.
enum class FormStyle { automatic, grouped, columns };

struct FormStyleKey {
    using Value = FormStyle;
    static Value defaultValue() { return FormStyle::automatic; }
};

} // namespace ui
