#include "store/PersistentModel.h"

#include "store/ModelContext.h"
#include "store/StoreError.h"

#include <fmt/format.h>

#include <atomic>
#include <unordered_set>

namespace store {

namespace {
std::int64_t nextTemporaryKey() {
    static std::atomic<std::int64_t> next{-1};
    return next.fetch_sub(1, std::memory_order_relaxed);
}
} // namespace

PersistentModel::PersistentModel()
    : primaryKey_(nextTemporaryKey()) {}

PersistentModel::~PersistentModel() = default;

PersistentIdentifier PersistentModel::persistentModelID() const {
    return {storeIdentifier_ ? *storeIdentifier_ : std::string(), entityDescription().name, primaryKey_};
}

std::shared_ptr<foundation::UndoManager> PersistentModel::undoManagerForChange() const {
    ModelContext* context = liveContext();
    if (!context || state_ == State::transient) return nullptr;
    return context->undoManager_;
}

void PersistentModel::didChange(const void* field) {
    ModelContext* context = liveContext();
    if (!context || state_ == State::transient) return;
    // Which column changed, so that a save writes only those.
    const EntityDescription& entity = entityDescription();
    std::size_t column = 0;
    bool found = false;
    for (const auto& attribute : entity.attributes) {
        if (attribute.field(*this) == field) {
            found = true;
            break;
        }
        ++column;
    }
    if (!found)
        for (const auto& relationship : entity.relationships) {
            if (relationship.isToMany) continue;
            if (relationship.field(*this) == field) break;
            ++column;
        }
    changedColumns_ |= column < 64 ? std::uint64_t(1) << column : ~std::uint64_t(0);
    context->modelDidChange(*this);
}

void PersistentModel::setRelated(std::string_view name, const std::shared_ptr<PersistentModel>& value) {
    const EntityDescription& entity = entityDescription();
    const RelationshipDescription* relationship = entity.relationship(name);
    if (!relationship || relationship->isToMany)
        throw StoreError(fmt::format("{} has no to-one relationship \"{}\"", entity.name, name));
    const auto announce = [&](const std::shared_ptr<PersistentModel>& target) {
        if (!target) return;
        if (ToManyStorage* list = relationship->inverseStorage(*target))
            target->registrar_.willSet(reactive::ObservationKey(list));
    };
    const auto old = relationship->target(*this);
    announce(old);
    if (value != old) announce(value);
    relationship->load(*this, value);
    // A model joins its related models' context, as inserting it would have done.
    ModelContext* context = liveContext();
    if (value && context && state_ != State::transient && !value->liveContext() && !value->storeIdentifier_)
        context->insert(value);
}

std::vector<std::shared_ptr<PersistentModel>> PersistentModel::relatedMembers(std::string_view name) const {
    const EntityDescription& entity = entityDescription();
    const RelationshipDescription* relationship = entity.relationship(name);
    if (!relationship || !relationship->isToMany)
        throw StoreError(fmt::format("{} has no to-many relationship \"{}\"", entity.name, name));
    auto& self = const_cast<PersistentModel&>(*this);
    if (ModelContext* context = liveContext(); context && inStore_)
        context->completeToMany(self, *relationship);
    const RelationshipDescription* inverse = entity.inverse(*relationship);
    ToManyStorage& storage = relationship->storage(self);
    // The member's own to-one side decides; the list is tidied on the way.
    std::vector<std::shared_ptr<PersistentModel>> members;
    std::vector<std::weak_ptr<PersistentModel>> kept;
    std::unordered_set<const PersistentModel*> seen;
    for (const auto& entry : storage.entries) {
        auto member = entry.lock();
        if (!member || !seen.insert(member.get()).second) continue;
        if (inverse->target(*member).get() != this) continue;
        kept.push_back(member);
        if (!member->deleted_) members.push_back(std::move(member));
    }
    storage.entries = std::move(kept);
    return members;
}

} // namespace store
