#pragma once

namespace ui {

// What the Return key of a text field is called; desktop keyboards show none of them, so it is
// only recorded for the fields to read.
enum class SubmitLabel { done, go, send, join, route, search, return_, next, continue_ };

struct SubmitLabelKey {
    using Value = SubmitLabel;
    static Value defaultValue() { return SubmitLabel::return_; }
};

} // namespace ui
