#pragma once

#include "store/EntityDescription.h"
#include "store/ModelContext.h"
#include "store/Predicate.h"

#include <string>
#include <vector>

namespace store::detail {

struct SqlCondition {
    std::string text; // "1" for no condition
    std::vector<Value> bindings;
};

// Both throw StoreError for a name the entity lacks or a value of the wrong kind.
SqlCondition sqlCondition(const PredicateExpression* predicate, const EntityDescription& entity,
                          const std::string& storeIdentifier);
std::string sqlOrder(const std::vector<ModelContext::SortKey>& sortBy, const EntityDescription& entity);

// The same condition over a model's values in memory.
bool evaluate(const PredicateExpression* predicate, const PersistentModel& model,
              const EntityDescription& entity);
// Negative when a comes first.
int compareModels(const PersistentModel& a, const PersistentModel& b,
                  const std::vector<const AttributeDescription*>& keys, const std::vector<bool>& ascending);

} // namespace store::detail
