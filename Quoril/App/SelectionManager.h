#pragma once

#include "Model/ItemCollection.h"

#include "reactive/ObservationRegistrar.h"

#include <memory>

namespace quoril {

// The collection the goal list shows. Main thread only.
class SelectionManager {
public:
    // The process's one manager, made on first use with no selection and never released.
    static const std::shared_ptr<SelectionManager>& shared();

    const std::shared_ptr<ItemCollection>& selectedCollection() const {
        registrar_.access(*this, &SelectionManager::selectedCollection_);
        return selectedCollection_;
    }
    void setSelectedCollection(std::shared_ptr<ItemCollection> collection) {
        registrar_.withMutation(*this, &SelectionManager::selectedCollection_,
                                [&] { selectedCollection_ = std::move(collection); });
    }

private:
    reactive::ObservationRegistrar registrar_;
    std::shared_ptr<ItemCollection> selectedCollection_;
};

} // namespace quoril
