#include "PredicateEvaluation.h"

#include "Database.h"
#include "Store.h"

#include "store/PersistentModel.h"
#include "store/StoreError.h"

#include <fmt/format.h>

namespace store::detail {

namespace {

const AttributeDescription& checkedAttribute(const EntityDescription& entity, const std::string& key) {
    const AttributeDescription* attribute = entity.attribute(key);
    if (!attribute) throw StoreError(fmt::format("{} has no attribute \"{}\"", entity.name, key));
    return *attribute;
}

const RelationshipDescription& checkedToOne(const EntityDescription& entity, const std::string& key) {
    const RelationshipDescription* relationship = entity.relationship(key);
    if (!relationship || relationship->isToMany)
        throw StoreError(fmt::format("{} has no to-one relationship \"{}\"", entity.name, key));
    return *relationship;
}

void build(const PredicateExpression& e, const EntityDescription& entity, const std::string& storeIdentifier,
           SqlCondition& out) {
    switch (e.kind) {
    case PredicateExpression::Kind::attributeEquals: {
        const AttributeDescription& attribute = checkedAttribute(entity, e.key);
        if (!valueFits(e.value, attribute.type, true))
            throw StoreError(fmt::format("{}.{} cannot equal a value of that kind", entity.name, e.key));
        // IS makes absent equal absent.
        out.text += fmt::format("{} IS ?", sqlName(e.key));
        out.bindings.push_back(e.value);
        return;
    }
    case PredicateExpression::Kind::relationshipEquals: {
        const RelationshipDescription& relationship = checkedToOne(entity, e.key);
        if (!e.identifier) {
            out.text += fmt::format("{} IS NULL", sqlName(e.key));
        } else if (e.identifier->storeIdentifier != storeIdentifier ||
                   e.identifier->entityName != relationship.destination().name) {
            out.text.push_back(
                '0'); // a model of another store, or of no store yet, is related to nothing here
        } else {
            out.text += fmt::format("{} = ?", sqlName(e.key));
            out.bindings.emplace_back(std::in_place_type<std::int64_t>, e.identifier->primaryKey);
        }
        return;
    }
    case PredicateExpression::Kind::conjunction:
        out.text.push_back('(');
        build(*e.lhs, entity, storeIdentifier, out);
        out.text += ") AND (";
        build(*e.rhs, entity, storeIdentifier, out);
        out.text.push_back(')');
        return;
    }
}

} // namespace

SqlCondition sqlCondition(const PredicateExpression* predicate, const EntityDescription& entity,
                          const std::string& storeIdentifier) {
    SqlCondition condition;
    if (!predicate) {
        condition.text.push_back('1');
        return condition;
    }
    build(*predicate, entity, storeIdentifier, condition);
    return condition;
}

std::string sqlOrder(const std::vector<ModelContext::SortKey>& sortBy, const EntityDescription& entity) {
    std::string order;
    for (const auto& key : sortBy) {
        checkedAttribute(entity, key.keyPath);
        order += fmt::format("{} {}, ", sqlName(key.keyPath), key.ascending ? "ASC" : "DESC");
    }
    // Ties keep the order of insertion: keys are handed out in that order.
    order += Store::primaryKeyColumn;
    return order;
}

bool evaluate(const PredicateExpression* predicate, const PersistentModel& model,
              const EntityDescription& entity) {
    if (!predicate) return true;
    switch (predicate->kind) {
    case PredicateExpression::Kind::attributeEquals:
        return compareValues(entity.attribute(predicate->key)->value(model), predicate->value) == 0;
    case PredicateExpression::Kind::relationshipEquals: {
        auto target = entity.relationship(predicate->key)->target(model);
        if (!target || !predicate->identifier) return !target && !predicate->identifier;
        return target->persistentModelID() == *predicate->identifier;
    }
    case PredicateExpression::Kind::conjunction:
        return evaluate(predicate->lhs.get(), model, entity) && evaluate(predicate->rhs.get(), model, entity);
    }
    return false;
}

int compareModels(const PersistentModel& a, const PersistentModel& b,
                  const std::vector<const AttributeDescription*>& keys, const std::vector<bool>& ascending) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int order = compareValues(keys[i]->value(a), keys[i]->value(b));
        if (order != 0) return ascending[i] ? order : -order;
    }
    return 0;
}

} // namespace store::detail
