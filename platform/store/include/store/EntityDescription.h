#pragma once

#include "store/Relationship.h"
#include "store/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class PersistentModel;

enum class AttributeOption {
    spotlight, // offered to system search; kept as metadata
};

struct AttributeDescription {
    std::string name;
    AttributeType type = AttributeType::text;
    bool isOptional = false;
    // The declared default; empty when the attribute declares none.
    std::function<Value()> defaultValue;
    std::vector<AttributeOption> options;

    // The current value, without reporting a read.
    std::function<Value(const PersistentModel&)> value;
    // Adopts a stored value without notifying; false, leaving the field as it is, for a value the
    // field cannot take.
    std::function<bool(PersistentModel&, const Value&)> load;
    // The field's address: the key of its reads and writes in the model's registrar.
    std::function<const void*(const PersistentModel&)> field;
};

struct EntityDescription;

struct RelationshipDescription {
    std::string name;
    const EntityDescription& (*destination)() = nullptr;
    bool isToMany = false;
    DeleteRule deleteRule = DeleteRule::nullify;
    // The inverse as declared on this side; empty when this side declares none.
    std::string inverseName;
    int minimumModelCount = 0; // 0: no limit
    int maximumModelCount = 0;

    // To-one: the related model, without reporting a read.
    std::function<std::shared_ptr<PersistentModel>(const PersistentModel&)> target;
    // To-one: sets the related model and links this one into the target's inverse list, with
    // no notification.
    std::function<void(PersistentModel&, const std::shared_ptr<PersistentModel>&)> load;
    // To-one: the inverse list of a destination model; null when there is no inverse.
    std::function<ToManyStorage*(PersistentModel&)> inverseStorage;
    // To-many: this side's list.
    std::function<ToManyStorage&(PersistentModel&)> storage;
    // The field's address: the key of its reads and writes in the model's registrar.
    std::function<const void*(const PersistentModel&)> field;
};

// One model class as the store sees it. Declared once per class, as a static.
struct EntityDescription {
    std::string name;
    std::vector<AttributeDescription> attributes;
    std::vector<RelationshipDescription> relationships;
    // An object to adopt stored data. The store puts in the declared default of any stored value
    // the field cannot take, so fields with such a default may start out cheaply.
    std::function<std::shared_ptr<PersistentModel>()> make;

    const AttributeDescription* attribute(std::string_view name) const;
    const RelationshipDescription* relationship(std::string_view name) const;
    // The relationship paired with one of this entity's: the one it names as its inverse, or the
    // one of the destination that names it.
    const RelationshipDescription* inverse(const RelationshipDescription& relationship) const;
};

} // namespace store
