#pragma once

#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/UndoManager.h"
#include "reactive/ObservationRegistrar.h"
#include "store/FetchDescriptor.h"
#include "store/PersistentModel.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace store {

namespace detail {
class Store;
}

// A working set of models over one store: one object per row (the identity map), changes kept
// in memory until save(). Fetches see the unsaved changes. Main thread only.
//
// After each save the context posts didSave on the default notification centre; every other
// context over the same store then takes in the saved changes: rows deleted there are deleted
// here, with the unsaved models that cascade from them, and rows changed there are read again
// unless this context has unsaved changes to them. What an observer of didSave throws is logged
// and does not fail the save.
//
// Every change of the working set (insert, delete, a write to a model, a refresh) is a write of
// the context's own observable contents, and every fetch reads it, so an observation tracking
// around a fetch hears of anything that may change its result.
class ModelContext : public std::enable_shared_from_this<ModelContext> {
public:
    // userInfo: "store" (the store identifier), "path" (the file), "inserted", "updated",
    // "deleted" (primary keys, std::vector<std::int64_t>).
    static inline const foundation::NotificationName didSave = "ModelContextDidSave";
    // Seconds after the last change that an autosave waits.
    static constexpr double autosaveDelay = 1.0;

    // Contexts come from a container.
    explicit ModelContext(std::shared_ptr<detail::Store> store);
    ~ModelContext();
    ModelContext(const ModelContext&) = delete;
    ModelContext& operator=(const ModelContext&) = delete;

    // Also inserts the models this one refers to that are in no context. A model of another
    // context is a StoreError; inserting a model twice does nothing.
    void insert(const std::shared_ptr<PersistentModel>& model);
    // Deletes the model and what its cascading relationships hold. Deleting again, or a model of
    // no or another context, does nothing.
    void deleteModel(const std::shared_ptr<PersistentModel>& model);
    // Deletes every model of type T that matches.
    template <class T> void deleteModels(const Predicate<T>& predicate) {
        for (const auto& model : fetchModels(T::entity(), predicate.expression().get(), {}))
            deleteModel(model);
    }

    template <class T> std::vector<std::shared_ptr<T>> fetch(const FetchDescriptor<T>& descriptor = {}) {
        auto models = fetchModels(T::entity(), expressionOf(descriptor), sortKeysOf(descriptor));
        std::vector<std::shared_ptr<T>> result;
        result.reserve(models.size());
        for (auto& model : models)
            result.push_back(std::static_pointer_cast<T>(std::move(model)));
        return result;
    }
    // How often the contents changed (an insert, a delete, a write, another container's save).
    std::uint64_t contentsGeneration() const { return contentsGeneration_; }
    // `previous`, what fetching with `descriptor` gave at contentsGeneration() `generation`,
    // with the models inserted since put in their places: a list of thousands takes a new model
    // without being fetched again. Nothing when anything else changed meanwhile, or when the
    // result would not be exactly what a fetch gives; fetch then.
    template <class T>
    std::optional<std::vector<std::shared_ptr<T>>>
    fetchAfterInserts(const FetchDescriptor<T>& descriptor, const std::vector<std::shared_ptr<T>>& previous,
                      std::uint64_t generation) {
        auto result = previous;
        if (!placeInserts(descriptor, result, generation)) return std::nullopt;
        return result;
    }
    // The same in place: puts the models inserted since `generation` into `results`, what
    // fetching with `descriptor` gave then, and returns true; false, with `results` as it was,
    // when it cannot.
    template <class T>
    bool placeInserts(const FetchDescriptor<T>& descriptor, std::vector<std::shared_ptr<T>>& results,
                      std::uint64_t generation) {
        auto placed = placeInserted(
            T::entity(), expressionOf(descriptor), sortKeysOf(descriptor),
            [&](std::size_t i) -> const PersistentModel& { return *results[i]; }, results.size(), generation);
        if (!placed) return false;
        // From the last place back, so that the places before stay where they were.
        for (auto it = placed->rbegin(); it != placed->rend(); ++it)
            results.insert(results.begin() + std::ptrdiff_t(it->first),
                           std::static_pointer_cast<T>(std::move(it->second)));
        return true;
    }
    template <class T> std::size_t fetchCount(const FetchDescriptor<T>& descriptor = {}) {
        return countModels(T::entity(), expressionOf(descriptor));
    }

    bool hasChanges() const;
    // Writes every change in one transaction; on failure nothing is written, the changes stay
    // and StoreError is thrown.
    void save();
    // Saves now if there are changes, as the program does before it goes to the background or
    // quits. A failure is logged; false then.
    bool autosaveNow();

    // On for a container's main context: a change schedules a save autosaveDelay seconds after
    // the last change, on the main run loop.
    bool autosaveEnabled() const { return autosaveEnabled_; }
    void setAutosaveEnabled(bool enabled);

    // Inserts, deletes and writes are recorded here when it is set.
    const std::shared_ptr<foundation::UndoManager>& undoManager() const { return undoManager_; }
    void setUndoManager(std::shared_ptr<foundation::UndoManager> undoManager) {
        undoManager_ = std::move(undoManager);
    }

    const reactive::ObservationRegistrar& observationRegistrar() const { return registrar_; }

    // For the store's own use.
    struct SortKey {
        std::string keyPath;
        bool ascending = true;
    };
    std::vector<std::shared_ptr<PersistentModel>> fetchModels(const EntityDescription& entity,
                                                              const PredicateExpression* predicate,
                                                              const std::vector<SortKey>& sortBy);
    std::size_t countModels(const EntityDescription& entity, const PredicateExpression* predicate);

private:
    friend class PersistentModel;
    friend class ModelContainer;

    template <class T> static const PredicateExpression* expressionOf(const FetchDescriptor<T>& descriptor) {
        return descriptor.predicate ? descriptor.predicate->expression().get() : nullptr;
    }
    template <class T> static std::vector<SortKey> sortKeysOf(const FetchDescriptor<T>& descriptor) {
        std::vector<SortKey> keys;
        for (const auto& sort : descriptor.sortBy)
            keys.push_back({sort.keyPath, sort.order == SortOrder::forward});
        return keys;
    }

    void modelDidChange(PersistentModel& model);
    // Every change of the contents goes through here; an insert names its model.
    void contentsWillChange(const std::shared_ptr<PersistentModel>& inserted = nullptr);
    // Where the models inserted since `generation` that match go in a result of `count`
    // models (`at` gives each): positions in that result, in order. Nothing when it cannot tell.
    std::optional<std::vector<std::pair<std::size_t, std::shared_ptr<PersistentModel>>>>
    placeInserted(const EntityDescription& entity, const PredicateExpression* predicate,
                  const std::vector<SortKey>& sortBy,
                  const std::function<const PersistentModel&(std::size_t)>& at, std::size_t count,
                  std::uint64_t generation);
    void listChange(PersistentModel& model);
    void registerUndoOfInsert(const std::shared_ptr<PersistentModel>& model);
    // Readers of the to-many lists the model belongs to hear that it joined or left.
    void announceMembershipChange(PersistentModel& model);
    void scheduleAutosave();
    void cancelAutosave();
    void autosaveTimerFired();
    void observeStoreSaves();
    void undelete(const std::shared_ptr<PersistentModel>& model, PersistentModel::State previous);
    void completeToMany(PersistentModel& owner, const RelationshipDescription& relationship);
    std::shared_ptr<PersistentModel> materialize(const EntityDescription& entity, std::int64_t primaryKey,
                                                 const void* statement);
    std::shared_ptr<PersistentModel> modelWithKey(const EntityDescription& entity, std::int64_t primaryKey);
    bool hasPendingChanges(const EntityDescription& entity) const;
    void storeDidSave(const foundation::Notification& notification);
    void refresh(const std::vector<std::int64_t>& updated, const std::vector<std::int64_t>& deleted,
                 bool inserted);
    void forgetDeleted(PersistentModel& model);

    std::shared_ptr<detail::Store> store_;
    std::unordered_map<std::int64_t, std::shared_ptr<PersistentModel>> registered_;
    std::vector<std::shared_ptr<PersistentModel>> changes_; // in the order they first changed
    std::shared_ptr<foundation::UndoManager> undoManager_;
    reactive::ObservationRegistrar registrar_;
    std::uint64_t contents_ = 0; // the observable contents' key
    std::uint64_t contentsGeneration_ = 0;
    // The latest inserts, by the generation each began; changes of other kinds only count.
    struct Inserted {
        std::uint64_t generation;
        std::weak_ptr<PersistentModel> model;
    };
    std::vector<Inserted> recentInserts_;
    std::uint64_t lastOtherChange_ = 0;  // the generation of the latest change that was no insert
    std::uint64_t forgottenInserts_ = 0; // inserts up to this generation are no longer listed
    // By entity, a generation at which the entity had unsaved changes: every result of it
    // fetched then was sorted here, in the order placeInserted keeps, so is known to be in it.
    std::unordered_map<const EntityDescription*, std::uint64_t> sortedHereAt_;
    std::uint64_t generation_ = 1; // moves on when another context saved inserts
    bool autosaveEnabled_ = false;
    bool autosaveScheduled_ = false;
    double lastChangeUptime_ = 0;
    foundation::RunLoop::Token autosaveToken_ = 0;
    foundation::NotificationObserverToken didSaveObserver_;
};

} // namespace store
