#pragma once

#include "foundation/Date.h"
#include "foundation/UUID.h"
#include "store/PersistentModel.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quoril {

class ItemCollection;

// A goal. The goal row keeps the invariant that a completed goal is also in progress.
class Item : public store::PersistentModel {
public:
    // Not inserted anywhere; `collection` starts empty.
    Item(foundation::Date timestamp, std::string title, bool inProgress, bool completed,
         std::optional<std::string> note = std::nullopt,
         std::optional<std::int64_t> orderIndex = std::nullopt);

    static const store::EntityDescription& entity();
    const store::EntityDescription& entityDescription() const override { return entity(); }

    const foundation::UUID& id() const { return read(&Item::id_); }
    void setId(const foundation::UUID& id) { write(&Item::id_, id); }
    foundation::Date timestamp() const { return read(&Item::timestamp_); }
    void setTimestamp(foundation::Date timestamp) { write(&Item::timestamp_, timestamp); }
    const std::string& title() const { return read(&Item::title_); }
    void setTitle(std::string title) { write(&Item::title_, std::move(title)); }
    bool inProgress() const { return read(&Item::inProgress_); }
    void setInProgress(bool inProgress) { write(&Item::inProgress_, inProgress); }
    bool completed() const { return read(&Item::completed_); }
    void setCompleted(bool completed) { write(&Item::completed_, completed); }
    const std::optional<std::string>& note() const { return read(&Item::note_); }
    void setNote(std::optional<std::string> note) { write(&Item::note_, std::move(note)); }
    std::optional<std::int64_t> orderIndex() const { return read(&Item::orderIndex_); }
    void setOrderIndex(std::optional<std::int64_t> orderIndex) { write(&Item::orderIndex_, orderIndex); }
    std::shared_ptr<ItemCollection> collection() const { return readToOne(&Item::collection_); }
    void setCollection(std::shared_ptr<ItemCollection> collection);

    // Whether `a` comes before `b` in the list: completed goals first, then goals in progress,
    // then the rest; equal within a group.
    static bool displayOrder(const Item& a, const Item& b);
    // The list's order: `items` in their given order, stably sorted with displayOrder.
    static std::vector<std::shared_ptr<Item>> sortedForDisplay(std::vector<std::shared_ptr<Item>> items);
    // What displayOrder reads of a goal, read once.
    struct DisplayFlags {
        bool completed = false;
        bool inProgress = false;
        bool operator==(const DisplayFlags&) const = default;
    };
    static DisplayFlags displayFlags(const Item& item) { return {item.completed(), item.inProgress()}; }
    // The same, with `flags[i]` the displayFlags of `items[i]`.
    static std::vector<std::shared_ptr<Item>> sortedForDisplay(const std::vector<std::shared_ptr<Item>>& items,
                                                               const std::vector<DisplayFlags>& flags);
    // orderIndex 0, 1, 2, ... in the given order.
    static void renumberOrderIndices(const std::vector<std::shared_ptr<Item>>& items);

private:
    friend class ItemCollection;
    struct StoredData {};
    explicit Item(StoredData);

    foundation::UUID id_;
    foundation::Date timestamp_;
    std::string title_;
    bool inProgress_ = false;
    bool completed_ = false;
    std::optional<std::string> note_;
    std::optional<std::int64_t> orderIndex_;
    store::ToOne<ItemCollection> collection_;
};

} // namespace quoril
