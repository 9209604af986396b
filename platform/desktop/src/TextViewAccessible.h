#pragma once

namespace desktop::detail {

// Lets assistive technology read a text view as editable text, also before its editor is made
// (once made, the editor is its child and speaks for the caret and selection).
void installTextViewAccessibility();

} // namespace desktop::detail
