#include "Model/Item.h"

#include "Model/ItemCollection.h"

#include <algorithm>

namespace quoril {

Item::Item(foundation::Date timestamp, std::string title, bool inProgress, bool completed,
           std::optional<std::string> note, std::optional<std::int64_t> orderIndex)
    : timestamp_(timestamp)
    , title_(std::move(title))
    , inProgress_(inProgress)
    , completed_(completed)
    , note_(std::move(note))
    , orderIndex_(orderIndex) {}

// The stored identifier replaces this one (or a new one, should it be unreadable).
Item::Item(StoredData)
    : id_(foundation::UUID::Bytes{}) {}

const store::EntityDescription& Item::entity() {
    static const store::EntityDescription description{
        "Item",
        {
            store::attribute("id", &Item::id_,
                             {.defaultValue = [] { return store::Value(foundation::UUID()); }}),
            store::attribute("timestamp", &Item::timestamp_),
            store::attribute("title", &Item::title_, {.options = {store::AttributeOption::spotlight}}),
            store::attribute("inProgress", &Item::inProgress_),
            store::attribute("completed", &Item::completed_),
            store::attribute("note", &Item::note_),
            store::attribute("orderIndex", &Item::orderIndex_),
        },
        {store::toOne("collection", &Item::collection_, store::DeleteRule::nullify, "items",
                      &ItemCollection::items_)},
        [] { return std::shared_ptr<store::PersistentModel>(new Item(StoredData{})); },
    };
    return description;
}

void Item::setCollection(std::shared_ptr<ItemCollection> collection) {
    writeToOne(&Item::collection_, std::move(collection), "collection");
}

bool Item::displayOrder(const Item& a, const Item& b) {
    // The order of reads is part of the contract: views track exactly these.
    if (a.completed() && !b.completed()) return true;
    if (!a.inProgress()) return false;
    return !b.inProgress();
}

std::vector<std::shared_ptr<Item>> Item::sortedForDisplay(std::vector<std::shared_ptr<Item>> items) {
    // Each goal's flags read once, not at every comparison: the same order as sorting the
    // goals with displayOrder, without n log n reads through the store.
    std::vector<DisplayFlags> flags;
    flags.reserve(items.size());
    for (const auto& item : items)
        flags.push_back(displayFlags(*item));
    return sortedForDisplay(items, flags);
}

std::vector<std::shared_ptr<Item>> Item::sortedForDisplay(const std::vector<std::shared_ptr<Item>>& items,
                                                          const std::vector<DisplayFlags>& flags) {
    std::vector<std::size_t> positions(items.size());
    for (std::size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](std::size_t i, std::size_t j) {
        const DisplayFlags& a = flags[i];
        const DisplayFlags& b = flags[j];
        if (a.completed && !b.completed) return true;
        if (!a.inProgress) return false;
        return !b.inProgress;
    });
    std::vector<std::shared_ptr<Item>> sorted;
    sorted.reserve(items.size());
    for (const std::size_t position : positions)
        sorted.push_back(items[position]);
    return sorted;
}

void Item::renumberOrderIndices(const std::vector<std::shared_ptr<Item>>& items) {
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setOrderIndex(std::int64_t(i));
}

} // namespace quoril
