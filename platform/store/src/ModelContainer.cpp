#include "store/ModelContainer.h"

#include "Store.h"

#include "store/ModelContext.h"

namespace store {

ModelContainer::ModelContainer(Schema schema, ModelConfiguration configuration)
    : configuration_(std::move(configuration))
    , store_(std::make_shared<detail::Store>(std::move(schema), configuration_, currentStoreVersion))
    , mainContext_(std::make_shared<ModelContext>(store_)) {
    mainContext_->observeStoreSaves();
    mainContext_->setAutosaveEnabled(true);
}

ModelContainer::~ModelContainer() = default;

const Schema& ModelContainer::schema() const {
    return store_->schema();
}

} // namespace store
