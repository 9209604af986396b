#pragma once

#include "store/ModelContainer.h"
#include "ui/Scene.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace store {

// Hands a container to the views below: its main context as their model context
// (ModelContextKey) and that context's undo manager as their undo manager (ui::UndoManagerKey).
struct ModelContainerModifier {
    std::shared_ptr<ModelContainer> container;
    ui::View body(ui::ViewContext& ctx, ui::View content) const;
    // The same without a view context, for scenes (applied to each window's content).
    ui::View operator()(ui::View content) const;
};

// view | store::modelContainer(container)
ModelContainerModifier modelContainer(std::shared_ptr<ModelContainer> container);
// Every window of the scene gets the container.
ui::Scene modelContainer(const ui::Scene& scene, std::shared_ptr<ModelContainer> container);

} // namespace store
