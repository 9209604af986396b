#include "App/SharedModelContainer.h"

#include "App/SelectionManager.h"
#include "Model/Item.h"
#include "Model/ItemCollection.h"

#include "foundation/Fatal.h"
#include "foundation/UndoManager.h"
#include "store/ModelContext.h"
#include "store/StoreError.h"

#include <exception>
#include <string>

namespace quoril {

store::Schema quorilSchema() {
    return store::Schema::of<ItemCollection, Item>({1, 0, 0});
}

std::shared_ptr<store::ModelContainer> makeSharedModelContainer() {
    std::shared_ptr<store::ModelContainer> container;
    try {
        container = std::make_shared<store::ModelContainer>(quorilSchema(), store::ModelConfiguration{});
        const auto& context = container->mainContext();
        context->setUndoManager(std::make_shared<foundation::UndoManager>());
        const store::FetchDescriptor<ItemCollection> all;
        if (context->fetchCount(all) == 0) context->insert(ItemCollection::defaultCollection());
        if (context->hasChanges()) {
            try {
                context->save();
            } catch (const store::StoreError&) {
                // The collection stays inserted; autosave tries again later.
            }
        }
        // Seeding is no user action: undoing it would delete the collection every goal joins.
        context->undoManager()->removeAllActions();
        const auto collections = context->fetch(all);
        if (!collections.empty()) SelectionManager::shared()->setSelectedCollection(collections.front());
    } catch (const std::exception& error) {
        foundation::fatal(std::string("Could not create ModelContainer: ") + error.what());
    }
    return container;
}

} // namespace quoril
