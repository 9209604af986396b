#include "store/ui/ModelContainerModifier.h"

#include "store/ModelContext.h"
#include "store/ui/ModelContextKey.h"
#include "ui/EnvironmentKeys.h"

#include <utility>

namespace store {

ui::View ModelContainerModifier::body(ui::ViewContext&, ui::View content) const {
    return (*this)(std::move(content));
}

ui::View ModelContainerModifier::operator()(ui::View content) const {
    if (!container) return content;
    const auto& context = container->mainContext();
    return content.environment<ModelContextKey>(context).environment<ui::UndoManagerKey>(context->undoManager());
}

ModelContainerModifier modelContainer(std::shared_ptr<ModelContainer> container) {
    return ModelContainerModifier{std::move(container)};
}

ui::Scene modelContainer(const ui::Scene& scene, std::shared_ptr<ModelContainer> container) {
    return scene.transformContent(ModelContainerModifier{std::move(container)});
}

} // namespace store
