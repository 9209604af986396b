#pragma once

#include "Model/ItemCollection.h"

#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace quoril {

// The main window's content: the goals of one collection in display order (completed, then in
// progress, then the rest), where goals are added, reordered, deleted, burned and edited in
// place. Its environment brings the model context, the CommandManager and the
// ModifierKeyManager; a view for another collection is a new view, with its own query and states.
struct ContentView {
    std::shared_ptr<ItemCollection> selectedCollection;

    ui::View body(ui::ViewContext& ctx) const;
    bool operator==(const ContentView&) const = default;
};

} // namespace quoril
