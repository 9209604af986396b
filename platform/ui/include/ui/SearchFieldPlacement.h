#pragma once

namespace ui {

// Where a searchable view puts its search field. Every placement shows it above the view,
// right-aligned for `toolbar` and across the full width otherwise.
enum class SearchFieldPlacement { automatic, toolbar, sidebar };

} // namespace ui
