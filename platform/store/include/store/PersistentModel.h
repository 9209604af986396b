#pragma once

#include "foundation/Object.h"
#include "foundation/UndoManager.h"
#include "reactive/ObservationRegistrar.h"
#include "store/EntityDescription.h"
#include "store/PersistentIdentifier.h"
#include "store/Relationship.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace store {

class ModelContext;

// The base of persisted model classes. A subclass keeps its values in plain fields, declares
// them once in a static entity() description, and reaches them through read/write (and the
// relationship forms), which report reads and writes to the object's registrar and record
// changes in its context: dirty tracking, undo, autosave.
//
// Equality and hash are identity: one object stands for one row in a context. Writes to a
// deleted object do nothing. Main thread only.
class PersistentModel : public foundation::Object {
public:
    ~PersistentModel() override;

    virtual const EntityDescription& entityDescription() const = 0;

    // Temporary until the model is inserted; then fixed for good.
    PersistentIdentifier persistentModelID() const;
    // The context the model was inserted into or fetched by; null when none (or it is gone).
    std::shared_ptr<ModelContext> modelContext() const { return context_.lock(); }
    bool isDeleted() const { return deleted_; }

    const reactive::ObservationRegistrar& observationRegistrar() const { return registrar_; }

protected:
    PersistentModel();

    template <class M, class T> const T& read(const T M::*field) const {
        const T& value = static_cast<const M&>(*this).*field;
        registrar_.access(reactive::ObservationKey(&value));
        return value;
    }

    template <class M, class T> void write(T M::*field, std::type_identity_t<T> value) {
        if (deleted_) return;
        M& self = static_cast<M&>(*this);
        registrar_.willSet(reactive::ObservationKey(&(self.*field)));
        T old = std::exchange(self.*field, std::move(value));
        const void* written = &(self.*field);
        if (auto undo = undoManagerForChange())
            undo->registerUndo(weakSelf<M>(), [field, old = std::move(old)](M& model) {
                static_cast<PersistentModel&>(model).write(field, old);
            });
        didChange(written);
    }

    template <class M, class T> std::shared_ptr<T> readToOne(const ToOne<T> M::*field) const {
        const ToOne<T>& value = static_cast<const M&>(*this).*field;
        registrar_.access(reactive::ObservationKey(&value));
        return value.target;
    }

    // `name` is the relationship's name in entity(): it says how to keep the inverse.
    template <class M, class T>
    void writeToOne(ToOne<T> M::*field, std::shared_ptr<std::type_identity_t<T>> value,
                    std::string_view name) {
        if (deleted_) return;
        M& self = static_cast<M&>(*this);
        std::shared_ptr<T> old = (self.*field).target;
        registrar_.willSet(reactive::ObservationKey(&(self.*field)));
        setRelated(name, value);
        if (auto undo = undoManagerForChange())
            undo->registerUndo(weakSelf<M>(), [field, old = std::move(old), name](M& model) {
                static_cast<PersistentModel&>(model).writeToOne(field, old, name);
            });
        didChange(&(self.*field));
    }

    template <class M, class T>
    std::vector<std::shared_ptr<T>> readToMany(const ToMany<T> M::*field, std::string_view name) const {
        const ToMany<T>& value = static_cast<const M&>(*this).*field;
        registrar_.access(reactive::ObservationKey(&value));
        std::vector<std::shared_ptr<T>> members;
        for (auto& member : relatedMembers(name))
            members.push_back(std::static_pointer_cast<T>(std::move(member)));
        return members;
    }

private:
    friend class ModelContext;
    friend struct ContextAccess;

    enum class State : std::uint8_t {
        transient, // in no context
        inserted,  // inserted, not saved yet
        clean,     // as in the store
        updated,   // changed since the last save
        deleted,   // deleted, not saved yet
    };

    // The context while it lives; a model can outlive its context.
    ModelContext* liveContext() const { return context_.expired() ? nullptr : contextPointer_; }
    std::shared_ptr<foundation::UndoManager> undoManagerForChange() const;
    void didChange(const void* field);
    void setRelated(std::string_view name, const std::shared_ptr<PersistentModel>& value);
    std::vector<std::shared_ptr<PersistentModel>> relatedMembers(std::string_view name) const;

    reactive::ObservationRegistrar registrar_;
    std::weak_ptr<ModelContext> context_;
    ModelContext* contextPointer_ = nullptr;             // valid while context_ is
    std::shared_ptr<const std::string> storeIdentifier_; // null while temporary
    std::int64_t primaryKey_;                            // negative while temporary
    State state_ = State::transient;
    bool deleted_ = false;
    bool inStore_ = false;             // a row exists in the file
    bool pendingChange_ = false;       // listed in the context's changes
    std::uint64_t changedColumns_ = 0; // written since the last save: attributes, then to-ones
};

// Declaration helpers for entity(): one per stored field.

struct AttributeMetadata {
    std::function<Value()> defaultValue = {};
    std::vector<AttributeOption> options = {};
};

template <class M, class T>
AttributeDescription attribute(std::string name, T M::*field, AttributeMetadata metadata = {}) {
    using Traits = ValueTraits<T>;
    AttributeDescription description;
    description.name = std::move(name);
    description.type = Traits::type;
    description.isOptional = isOptionalValue<T>;
    description.defaultValue = std::move(metadata.defaultValue);
    description.options = std::move(metadata.options);
    description.value = [field](const PersistentModel& model) {
        return Traits::toValue(static_cast<const M&>(model).*field);
    };
    description.load = [field](PersistentModel& model, const Value& value) {
        auto converted = Traits::fromValue(value);
        if (!converted) return false;
        static_cast<M&>(model).*field = std::move(*converted);
        return true;
    };
    description.field = [field](const PersistentModel& model) -> const void* {
        return &(static_cast<const M&>(model).*field);
    };
    return description;
}

template <class M, class D>
RelationshipDescription toOne(std::string name, ToOne<D> M::*field, DeleteRule deleteRule,
                              std::string inverseName, ToMany<M> D::*inverse) {
    RelationshipDescription description;
    description.name = std::move(name);
    description.destination = &D::entity;
    description.deleteRule = deleteRule;
    description.inverseName = std::move(inverseName);
    description.target = [field](const PersistentModel& model) -> std::shared_ptr<PersistentModel> {
        return (static_cast<const M&>(model).*field).target;
    };
    description.load = [field, inverse](PersistentModel& model,
                                        const std::shared_ptr<PersistentModel>& target) {
        auto typed = std::static_pointer_cast<D>(target);
        (static_cast<M&>(model).*field).target = typed;
        if (typed) (typed.get()->*inverse).entries.push_back(model.weakSelf<PersistentModel>());
    };
    description.inverseStorage = [inverse](PersistentModel& target) -> ToManyStorage* {
        return &(static_cast<D&>(target).*inverse);
    };
    description.field = [field](const PersistentModel& model) -> const void* {
        return &(static_cast<const M&>(model).*field);
    };
    return description;
}

template <class M, class D>
RelationshipDescription toMany(std::string name, ToMany<D> M::*field, DeleteRule deleteRule) {
    RelationshipDescription description;
    description.name = std::move(name);
    description.destination = &D::entity;
    description.isToMany = true;
    description.deleteRule = deleteRule;
    description.storage = [field](PersistentModel& model) -> ToManyStorage& {
        return static_cast<M&>(model).*field;
    };
    description.field = [field](const PersistentModel& model) -> const void* {
        return &(static_cast<const M&>(model).*field);
    };
    return description;
}

} // namespace store
