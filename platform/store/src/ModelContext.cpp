#include "store/ModelContext.h"

#include "Database.h"
#include "PredicateEvaluation.h"
#include "Store.h"

#include "foundation/Clock.h"
#include "foundation/Logger.h"
#include "store/StoreError.h"

#include <fmt/format.h>

#include <algorithm>
#include <exception>
#include <unordered_set>

namespace store {

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("store", "ModelContext");
    return log;
}

enum class Pending { none, insert, update, remove };

} // namespace

struct ContextAccess {
    static Pending pending(const PersistentModel& model) {
        switch (model.state_) {
        case PersistentModel::State::inserted:
            return model.deleted_ ? Pending::none : Pending::insert;
        case PersistentModel::State::updated:
            return Pending::update;
        case PersistentModel::State::deleted:
            return model.inStore_ ? Pending::remove : Pending::none;
        default:
            return Pending::none;
        }
    }
};

ModelContext::ModelContext(std::shared_ptr<detail::Store> store)
    : store_(std::move(store)) {}

void ModelContext::observeStoreSaves() {
    std::weak_ptr<ModelContext> weak = weak_from_this();
    didSaveObserver_ = foundation::NotificationCenter::defaultCenter().addObserver(
        didSave, nullptr, std::nullopt, [weak](const foundation::Notification& notification) {
            if (auto self = weak.lock()) self->storeDidSave(notification);
        });
}

ModelContext::~ModelContext() {
    if (didSaveObserver_) foundation::NotificationCenter::defaultCenter().removeObserver(didSaveObserver_);
    cancelAutosave();
    // A context that saves by itself does not lose its last changes when it goes. Nothing may
    // leave a destructor, whatever an observer of the save throws.
    if (autosaveEnabled_ && hasChanges()) {
        try {
            save();
        } catch (const std::exception& error) {
            logger().error("Unsaved changes may be lost: {}", error.what());
        } catch (...) {
            logger().error("Unsaved changes may be lost");
        }
    }
    for (auto& [key, model] : registered_)
        model->contextPointer_ = nullptr;
    for (auto& model : changes_)
        model->contextPointer_ = nullptr;
}

void ModelContext::insert(const std::shared_ptr<PersistentModel>& model) {
    if (!model) return;
    if (model->liveContext() == this) {
        if (model->deleted_)
            undelete(model, model->state_ == PersistentModel::State::deleted
                                ? PersistentModel::State::clean
                                : PersistentModel::State::inserted);
        return;
    }
    if (model->liveContext() || model->storeIdentifier_)
        throw StoreError(fmt::format("This {} belongs to another context", model->entityDescription().name));
    const EntityDescription& entity = model->entityDescription();
    if (store_->schema().entity(entity.name) != &entity)
        throw StoreError(fmt::format("{} is not in this container's schema", entity.name));

    contentsWillChange(model);
    model->primaryKey_ = store_->nextPrimaryKey();
    model->storeIdentifier_ = store_->identifier();
    model->context_ = weak_from_this();
    model->contextPointer_ = this;
    model->state_ = PersistentModel::State::inserted;
    registered_[model->primaryKey_] = model;
    listChange(*model);
    registerUndoOfInsert(model);
    scheduleAutosave();

    // The models it refers to come along.
    for (const auto& relationship : entity.relationships) {
        if (!relationship.isToMany) {
            auto target = relationship.target(*model);
            if (target && !target->liveContext() && !target->storeIdentifier_) insert(target);
            continue;
        }
        const RelationshipDescription* inverse = entity.inverse(relationship);
        for (const auto& entry : relationship.storage(*model).entries)
            if (auto member = entry.lock(); member && !member->liveContext() && !member->storeIdentifier_ &&
                                            inverse->target(*member) == model)
                insert(member);
    }
}

void ModelContext::deleteModel(const std::shared_ptr<PersistentModel>& model) {
    if (!model || model->liveContext() != this || model->deleted_) return;
    const EntityDescription& entity = model->entityDescription();
    for (const auto& relationship : entity.relationships) {
        if (relationship.deleteRule != DeleteRule::cascade) continue;
        if (relationship.isToMany) {
            for (const auto& member : model->relatedMembers(relationship.name))
                deleteModel(member);
        } else if (auto target = relationship.target(*model)) {
            deleteModel(target);
        }
    }

    contentsWillChange();
    announceMembershipChange(*model);
    const PersistentModel::State previous = model->state_;
    model->deleted_ = true;
    if (previous == PersistentModel::State::inserted) {
        registered_.erase(model->primaryKey_);
    } else {
        model->state_ = PersistentModel::State::deleted;
        listChange(*model);
    }
    if (undoManager_) {
        undoManager_->registerUndo(weak_from_this(), [model, previous](ModelContext& context) {
            context.undelete(model, previous);
        });
    }
    scheduleAutosave();
}

void ModelContext::undelete(const std::shared_ptr<PersistentModel>& model, PersistentModel::State previous) {
    if (model->liveContext() != this || !model->deleted_) return;
    // A model whose related model is gone for good stays gone: its row could not be written.
    for (const auto& relationship : model->entityDescription().relationships)
        if (!relationship.isToMany)
            if (auto target = relationship.target(*model); target && target->deleted_) return;
    contentsWillChange();
    model->deleted_ = false;
    // Saved meanwhile, its row is gone: it goes back in as a new row with the same key.
    if (previous == PersistentModel::State::inserted || !model->inStore_) {
        model->state_ = PersistentModel::State::inserted;
    } else {
        model->state_ = previous == PersistentModel::State::updated ? PersistentModel::State::updated
                                                                    : PersistentModel::State::clean;
    }
    registered_[model->primaryKey_] = model;
    listChange(*model);
    for (const auto& relationship : model->entityDescription().relationships) {
        if (relationship.isToMany) continue;
        if (auto target = relationship.target(*model))
            if (ToManyStorage* list = relationship.inverseStorage(*target)) {
                target->registrar_.willSet(reactive::ObservationKey(list));
                list->entries.push_back(model);
            }
    }
    registerUndoOfInsert(model);
    scheduleAutosave();
}

void ModelContext::modelDidChange(PersistentModel& model) {
    contentsWillChange();
    if (model.state_ == PersistentModel::State::clean) {
        model.state_ = PersistentModel::State::updated;
        listChange(model);
    }
    scheduleAutosave();
}

void ModelContext::contentsWillChange(const std::shared_ptr<PersistentModel>& inserted) {
    ++contentsGeneration_;
    if (!inserted) {
        lastOtherChange_ = contentsGeneration_;
        recentInserts_.clear();
    } else {
        constexpr std::size_t listedAtMost = 32;
        if (recentInserts_.size() == listedAtMost) {
            forgottenInserts_ = recentInserts_.front().generation;
            recentInserts_.erase(recentInserts_.begin());
        }
        recentInserts_.push_back({contentsGeneration_, inserted});
    }
    registrar_.willSet(reactive::ObservationKey(&contents_));
}

std::optional<std::vector<std::pair<std::size_t, std::shared_ptr<PersistentModel>>>>
ModelContext::placeInserted(const EntityDescription& entity, const PredicateExpression* predicate,
                            const std::vector<SortKey>& sortBy,
                            const std::function<const PersistentModel&(std::size_t)>& at, std::size_t count,
                            std::uint64_t generation) {
    registrar_.access(reactive::ObservationKey(&contents_));
    if (generation > contentsGeneration_ || lastOtherChange_ > generation || forgottenInserts_ > generation ||
        store_->schema().entity(entity.name) != &entity)
        return std::nullopt;
    std::vector<const AttributeDescription*> keys;
    std::vector<bool> ascending;
    for (const auto& key : sortBy) {
        keys.push_back(entity.attribute(key.keyPath));
        ascending.push_back(key.ascending);
    }
    // The order a fetch with changes gives; one it gave otherwise (the file's own order) is
    // left to a fetch.
    const auto before = [&](const PersistentModel& a, const PersistentModel& b) {
        const int order = detail::compareModels(a, b, keys, ascending);
        return order != 0 ? order < 0 : a.primaryKey_ < b.primaryKey_;
    };
    // A result fetched while the entity had unsaved changes is in order; one from the file is
    // checked (its order may differ from this one in ties and in how values compare).
    const auto sorted = sortedHereAt_.find(&entity);
    if (sorted == sortedHereAt_.end() || sorted->second != generation) {
        for (std::size_t i = 1; i < count; ++i) {
            if (!before(at(i - 1), at(i))) return std::nullopt;
        }
    }
    std::vector<std::pair<std::size_t, std::shared_ptr<PersistentModel>>> placed;
    for (const auto& inserted : recentInserts_) {
        if (inserted.generation <= generation) continue;
        auto model = inserted.model.lock();
        if (!model || model->liveContext() != this) return std::nullopt;
        if (&model->entityDescription() != &entity || model->deleted_) continue;
        if (!detail::evaluate(predicate, *model, entity)) continue;
        std::size_t low = 0;
        std::size_t high = count;
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (before(*model, at(middle)))
                high = middle;
            else
                low = middle + 1;
        }
        placed.emplace_back(low, std::move(model));
    }
    // Several new models: in the order of the result, each after those of its place before it.
    std::stable_sort(placed.begin(), placed.end(), [&](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : before(*a.second, *b.second);
    });
    // The result is in order, and so is any fetched now if the entity has unsaved changes.
    if (!placed.empty() || hasPendingChanges(entity)) sortedHereAt_[&entity] = contentsGeneration_;
    return placed;
}

void ModelContext::listChange(PersistentModel& model) {
    if (model.pendingChange_) return;
    model.pendingChange_ = true;
    changes_.push_back(model.sharedSelf<PersistentModel>());
}

void ModelContext::registerUndoOfInsert(const std::shared_ptr<PersistentModel>& model) {
    if (!undoManager_) return;
    std::weak_ptr<ModelContext> weak = weak_from_this();
    undoManager_->registerUndo(std::weak_ptr<PersistentModel>(model),
                               [weak](const std::shared_ptr<PersistentModel>& m) {
                                   if (auto self = weak.lock()) self->deleteModel(m);
                               });
}

void ModelContext::announceMembershipChange(PersistentModel& model) {
    for (const auto& relationship : model.entityDescription().relationships) {
        if (relationship.isToMany) continue;
        if (auto target = relationship.target(model))
            if (ToManyStorage* list = relationship.inverseStorage(*target))
                target->registrar_.willSet(reactive::ObservationKey(list));
    }
}

bool ModelContext::hasChanges() const {
    return std::any_of(changes_.begin(), changes_.end(),
                       [](const auto& model) { return ContextAccess::pending(*model) != Pending::none; });
}

bool ModelContext::hasPendingChanges(const EntityDescription& entity) const {
    return std::any_of(changes_.begin(), changes_.end(), [&](const auto& model) {
        return &model->entityDescription() == &entity && ContextAccess::pending(*model) != Pending::none;
    });
}

namespace {

constexpr std::uint64_t allColumns = ~std::uint64_t(0);

// Binds the columns in `columns` from `first` on; returns the next index.
int bindRow(detail::Statement& statement, const PersistentModel& model, const detail::EntityTable& table,
            const EntityDescription& entity, const std::string& storeIdentifier, int first,
            std::uint64_t columns) {
    int index = first;
    std::size_t column = 0;
    const auto wanted = [&] { return column >= 64 || ((columns >> column) & 1); };
    for (const auto& attribute : entity.attributes) {
        if (wanted()) statement.bind(index++, attribute.value(model));
        ++column;
    }
    for (const auto* relationship : table.toOne) {
        if (!wanted()) {
            ++column;
            continue;
        }
        ++column;
        auto target = relationship->target(model);
        if (!target) {
            statement.bind(index++, std::monostate{});
            continue;
        }
        const PersistentIdentifier id = target->persistentModelID();
        if (id.storeIdentifier != storeIdentifier)
            throw StoreError(fmt::format("{}.{} refers to a {} of another store or of none", entity.name,
                                         relationship->name, id.entityName));
        statement.bindInteger(index++, id.primaryKey);
    }
    return index;
}

} // namespace

void ModelContext::save() {
    if (!store_->allowsSave()) throw StoreError("This container does not allow saving");
    cancelAutosave();
    // Fetched again, saved models come in the file's order: results before this are no base
    // for inserts after it. (Their contents stay, so nobody hears of it.)
    lastOtherChange_ = ++contentsGeneration_;
    recentInserts_.clear();
    std::vector<std::int64_t> inserted, updated, deleted;
    auto& database = store_->database();
    {
        detail::Transaction transaction(database);
        for (const auto& model : changes_) {
            const Pending pending = ContextAccess::pending(*model);
            if (pending == Pending::none) continue;
            const EntityDescription& entity = model->entityDescription();
            const detail::EntityTable& table = store_->table(entity);
            switch (pending) {
            case Pending::insert: {
                auto& statement = store_->insertStatement(entity);
                statement.bindInteger(1, model->primaryKey_);
                bindRow(statement, *model, table, entity, *store_->identifier(), 2, allColumns);
                statement.run();
                inserted.push_back(model->primaryKey_);
                break;
            }
            case Pending::update: {
                if (model->changedColumns_ == 0) break;
                auto& statement = store_->updateStatement(entity, model->changedColumns_);
                const int next = bindRow(statement, *model, table, entity, *store_->identifier(), 1,
                                         model->changedColumns_);
                statement.bindInteger(next, model->primaryKey_);
                statement.run();
                updated.push_back(model->primaryKey_);
                break;
            }
            case Pending::remove: {
                auto& statement = store_->removeStatement(entity);
                statement.bindInteger(1, model->primaryKey_);
                statement.run();
                deleted.push_back(model->primaryKey_);
                break;
            }
            case Pending::none:
                break;
            }
        }
        transaction.commit();
    }

    for (const auto& model : changes_) {
        model->pendingChange_ = false;
        model->changedColumns_ = 0;
        if (model->deleted_) {
            model->inStore_ = false;
            if (model->state_ == PersistentModel::State::deleted) registered_.erase(model->primaryKey_);
            continue;
        }
        model->state_ = PersistentModel::State::clean;
        model->inStore_ = true;
    }
    changes_.clear();

    foundation::UserInfo info{{"store", *store_->identifier()},
                              {"path", store_->path()},
                              {"inserted", std::move(inserted)},
                              {"updated", std::move(updated)},
                              {"deleted", std::move(deleted)}};
    // The context as the sender by address only: a context that saves as it goes has no owner left.
    try {
        foundation::NotificationCenter::defaultCenter().post(
            didSave, std::shared_ptr<const void>(std::shared_ptr<const void>(), this), std::move(info));
    } catch (const std::exception& error) {
        // The changes are in the file: an observer's failure is no failure of the save.
        logger().error("An observer of a save failed: {}", error.what());
    }
}

bool ModelContext::autosaveNow() {
    cancelAutosave();
    if (!hasChanges()) return true;
    try {
        save();
        return true;
    } catch (const std::exception& error) {
        // Also what an observer of the save threw: autosave runs from timers and quit hooks.
        logger().error("Autosave failed: {}", error.what());
        return false;
    }
}

void ModelContext::setAutosaveEnabled(bool enabled) {
    autosaveEnabled_ = enabled;
    if (!enabled) cancelAutosave();
    if (enabled && hasChanges()) scheduleAutosave();
}

void ModelContext::cancelAutosave() {
    if (!autosaveScheduled_) return;
    foundation::RunLoop::main().cancel(autosaveToken_);
    autosaveScheduled_ = false;
}

void ModelContext::scheduleAutosave() {
    if (!autosaveEnabled_) return;
    lastChangeUptime_ = foundation::Clock::current()->uptime();
    if (autosaveScheduled_) return; // the timer looks at the last change when it fires
    autosaveScheduled_ = true;
    std::weak_ptr<ModelContext> weak = weak_from_this();
    autosaveToken_ = foundation::RunLoop::main().schedule(lastChangeUptime_ + autosaveDelay, [weak] {
        if (auto self = weak.lock()) self->autosaveTimerFired();
    });
}

void ModelContext::autosaveTimerFired() {
    autosaveScheduled_ = false;
    const double due = lastChangeUptime_ + autosaveDelay;
    if (foundation::Clock::current()->uptime() < due) {
        autosaveScheduled_ = true;
        std::weak_ptr<ModelContext> weak = weak_from_this();
        autosaveToken_ = foundation::RunLoop::main().schedule(due, [weak] {
            if (auto self = weak.lock()) self->autosaveTimerFired();
        });
        return;
    }
    autosaveNow();
}

std::shared_ptr<PersistentModel> ModelContext::materialize(const EntityDescription& entity,
                                                           std::int64_t primaryKey, const void* row) {
    const auto& statement = *static_cast<const detail::Statement*>(row);
    auto model = entity.make();
    model->primaryKey_ = primaryKey;
    model->storeIdentifier_ = store_->identifier();
    model->context_ = weak_from_this();
    model->contextPointer_ = this;
    model->state_ = PersistentModel::State::clean;
    model->inStore_ = true;
    registered_[primaryKey] = model;
    int column = 1;
    for (const auto& attribute : entity.attributes)
        if (!attribute.load(*model, statement.value(column++, attribute.type)) && attribute.defaultValue)
            attribute.load(*model, attribute.defaultValue());
    for (const auto& relationship : entity.relationships) {
        if (relationship.isToMany) continue;
        if (!statement.isNull(column))
            if (auto target = modelWithKey(relationship.destination(), statement.integer(column)))
                relationship.load(*model, target);
        ++column;
    }
    return model;
}

std::shared_ptr<PersistentModel> ModelContext::modelWithKey(const EntityDescription& entity,
                                                            std::int64_t primaryKey) {
    if (auto found = registered_.find(primaryKey); found != registered_.end()) return found->second;
    // Its own statement: the caller may be in the middle of reading rows of the same table.
    detail::Statement statement(store_->database(), store_->table(entity).selectByKey);
    statement.bindInteger(1, primaryKey);
    if (!statement.step()) return nullptr;
    return materialize(entity, primaryKey, &statement);
}

std::vector<std::shared_ptr<PersistentModel>> ModelContext::fetchModels(const EntityDescription& entity,
                                                                        const PredicateExpression* predicate,
                                                                        const std::vector<SortKey>& sortBy) {
    registrar_.access(reactive::ObservationKey(&contents_));
    if (store_->schema().entity(entity.name) != &entity)
        throw StoreError(fmt::format("{} is not in this container's schema", entity.name));
    const auto condition = detail::sqlCondition(predicate, entity, *store_->identifier());
    const std::string order = detail::sqlOrder(sortBy, entity);
    const detail::EntityTable& table = store_->table(entity);

    std::vector<std::shared_ptr<PersistentModel>> result;
    {
        auto& statement = store_->database().cached(
            fmt::format("{} WHERE {} ORDER BY {}", table.selectPrefix, condition.text, order));
        for (std::size_t i = 0; i < condition.bindings.size(); ++i)
            statement.bind(int(i + 1), condition.bindings[i]);
        while (statement.step()) {
            const std::int64_t key = statement.integer(0);
            if (auto found = registered_.find(key); found != registered_.end()) {
                result.push_back(found->second);
            } else {
                result.push_back(materialize(entity, key, &statement));
            }
        }
        statement.reset();
    }
    if (!hasPendingChanges(entity)) return result;
    sortedHereAt_[&entity] = contentsGeneration_;

    // Unsaved changes: drop what no longer matches, add what matches now, and sort again.
    std::unordered_set<const PersistentModel*> listed;
    std::erase_if(result, [&](const auto& model) {
        const Pending pending = ContextAccess::pending(*model);
        if (model->deleted_ || (pending == Pending::update && !detail::evaluate(predicate, *model, entity)))
            return true;
        listed.insert(model.get());
        return false;
    });
    for (const auto& model : changes_) {
        if (&model->entityDescription() != &entity || model->deleted_ || listed.count(model.get())) continue;
        const Pending pending = ContextAccess::pending(*model);
        if ((pending == Pending::insert || pending == Pending::update) &&
            detail::evaluate(predicate, *model, entity))
            result.push_back(model);
    }
    std::vector<const AttributeDescription*> keys;
    std::vector<bool> ascending;
    for (const auto& key : sortBy) {
        keys.push_back(entity.attribute(key.keyPath));
        ascending.push_back(key.ascending);
    }
    const auto before = [&](const auto& a, const auto& b) {
        const int order = detail::compareModels(*a, *b, keys, ascending);
        return order != 0 ? order < 0 : a->primaryKey_ < b->primaryKey_;
    };
    // Mostly a few changes at the end of a list already in order: checking is cheaper than sorting.
    if (!std::is_sorted(result.begin(), result.end(), before))
        std::stable_sort(result.begin(), result.end(), before);
    return result;
}

std::size_t ModelContext::countModels(const EntityDescription& entity, const PredicateExpression* predicate) {
    registrar_.access(reactive::ObservationKey(&contents_));
    if (store_->schema().entity(entity.name) != &entity)
        throw StoreError(fmt::format("{} is not in this container's schema", entity.name));
    if (hasPendingChanges(entity)) return fetchModels(entity, predicate, {}).size();
    const auto condition = detail::sqlCondition(predicate, entity, *store_->identifier());
    auto& statement = store_->database().cached(
        fmt::format("SELECT count(*) FROM {} WHERE {}", store_->table(entity).name, condition.text));
    for (std::size_t i = 0; i < condition.bindings.size(); ++i)
        statement.bind(int(i + 1), condition.bindings[i]);
    const std::size_t count = statement.step() ? std::size_t(statement.integer(0)) : 0;
    statement.reset();
    return count;
}

void ModelContext::completeToMany(PersistentModel& owner, const RelationshipDescription& relationship) {
    ToManyStorage& storage = relationship.storage(owner);
    if (storage.loadedGeneration == generation_) return;
    const EntityDescription& entity = owner.entityDescription();
    const RelationshipDescription* inverse = entity.inverse(relationship);
    const EntityDescription& destination = relationship.destination();
    const detail::EntityTable& table = store_->table(destination);
    auto& statement = store_->database().cached(fmt::format("{} WHERE {} = ? ORDER BY {}", table.selectPrefix,
                                                            detail::sqlName(inverse->name),
                                                            detail::Store::primaryKeyColumn));
    statement.bindInteger(1, owner.primaryKey_);
    std::vector<std::int64_t> keys;
    // Materialising links each new member into this list through its to-one side.
    while (statement.step()) {
        const std::int64_t key = statement.integer(0);
        if (!registered_.count(key)) materialize(destination, key, &statement);
    }
    statement.reset();
    storage.loadedGeneration = generation_;
}

void ModelContext::storeDidSave(const foundation::Notification& notification) {
    if (notification.object.get() == this) return;
    const auto text = [&](const char* key) -> const std::string* {
        auto found = notification.userInfo.find(key);
        return found == notification.userInfo.end() ? nullptr : found->second.get<std::string>();
    };
    const auto keys = [&](const char* key) {
        auto found = notification.userInfo.find(key);
        const auto* list =
            found == notification.userInfo.end() ? nullptr : found->second.get<std::vector<std::int64_t>>();
        return list ? *list : std::vector<std::int64_t>();
    };
    const std::string* storeIdentifier = text("store");
    const std::string* path = text("path");
    if (!storeIdentifier || *storeIdentifier != *store_->identifier() || !path || *path != store_->path())
        return;
    refresh(keys("updated"), keys("deleted"), !keys("inserted").empty());
}

void ModelContext::forgetDeleted(PersistentModel& model) {
    announceMembershipChange(model);
    model.deleted_ = true;
    model.inStore_ = false;
    model.state_ = PersistentModel::State::deleted;
    registered_.erase(model.primaryKey_);
    // The file applied the delete rules to its rows. Models only this context has, unsaved ones
    // above all, follow them here too, or their save would refer to a row that is gone.
    const EntityDescription& entity = model.entityDescription();
    for (const auto& relationship : entity.relationships) {
        if (!relationship.isToMany) continue;
        const RelationshipDescription* inverse = entity.inverse(relationship);
        const auto entries = relationship.storage(model).entries;
        for (const auto& entry : entries) {
            auto member = entry.lock();
            if (!member || member->liveContext() != this || member->deleted_ ||
                inverse->target(*member).get() != &model)
                continue;
            if (relationship.deleteRule == DeleteRule::cascade) forgetDeleted(*member);
        }
    }
}

void ModelContext::refresh(const std::vector<std::int64_t>& updated, const std::vector<std::int64_t>& deleted,
                           bool inserted) {
    contentsWillChange();
    if (inserted) ++generation_; // lists of related models may have new members
    for (const std::int64_t key : deleted) {
        auto found = registered_.find(key);
        if (found == registered_.end()) continue;
        auto model = found->second; // keeps it alive while it is forgotten
        forgetDeleted(*model);
    }
    for (const std::int64_t key : updated) {
        auto found = registered_.find(key);
        if (found == registered_.end() || found->second->state_ != PersistentModel::State::clean) continue;
        auto model = found->second;
        const EntityDescription& entity = model->entityDescription();
        detail::Statement statement(store_->database(), store_->table(entity).selectByKey);
        statement.bindInteger(1, key);
        if (!statement.step()) {
            forgetDeleted(*model);
            continue;
        }
        int column = 1;
        for (const auto& attribute : entity.attributes) {
            Value value = statement.value(column++, attribute.type);
            if (compareValues(value, attribute.value(*model)) == 0) continue;
            model->registrar_.willSet(reactive::ObservationKey(attribute.field(*model)));
            attribute.load(*model, value);
        }
        for (const auto& relationship : entity.relationships) {
            if (relationship.isToMany) continue;
            std::shared_ptr<PersistentModel> target;
            if (!statement.isNull(column))
                target = modelWithKey(relationship.destination(), statement.integer(column));
            ++column;
            auto old = relationship.target(*model);
            if (target == old) continue;
            model->registrar_.willSet(reactive::ObservationKey(relationship.field(*model)));
            for (const auto& side : {old, target})
                if (side)
                    if (ToManyStorage* list = relationship.inverseStorage(*side))
                        side->registrar_.willSet(reactive::ObservationKey(list));
            relationship.load(*model, target);
        }
    }
}

} // namespace store
