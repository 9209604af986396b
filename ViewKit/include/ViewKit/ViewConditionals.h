#pragma once

#include "ViewKit/ViewOperation.h"

#include "ui/Binding.h"
#include "ui/SearchFieldPlacement.h"
#include "ui/Text.h"

#include <optional>
#include <string>

// Modifiers behind a condition. Each gives a two-branch conditional view: the modified view
// when the flag holds, else the view itself. The flag is read when the operation is applied,
// so a change of it switches branches, and with them the view's identity and state.
namespace ViewKit {

// Hidden when `hidden` holds; a hidden view paints nothing, takes no hits and keeps its space.
ViewOperation hidden(bool hidden);
// Hidden unless `visible` holds.
ViewOperation visible(bool visible);

// A search field editing `text` when `enabled` holds; nothing added otherwise.
ViewOperation searchable(bool enabled, ui::Binding<std::string> text, ui::SearchFieldPlacement placement,
                         std::string prompt);
// The same with the field's presentation bound to `isPresented` (ui::View::searchable).
ViewOperation searchable(bool enabled, ui::Binding<std::string> text, ui::Binding<bool> isPresented,
                         ui::SearchFieldPlacement placement, std::optional<ui::Text> prompt);

} // namespace ViewKit
