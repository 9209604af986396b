#pragma once

namespace ui {

// How a system symbol is drawn: its outline, or its filled form where it has one.
enum class SymbolVariant { none, fill };

} // namespace ui
