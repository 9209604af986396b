#pragma once

#include "Model/CollectionColor.h"
#include "Model/Item.h"

#include "foundation/UUID.h"
#include "store/PersistentModel.h"

#include <memory>
#include <string>
#include <vector>

namespace quoril {

// A collection of goals. Deleting it deletes its goals.
class ItemCollection : public store::PersistentModel {
public:
    // Red, with no goals; not inserted anywhere.
    explicit ItemCollection(std::string title);

    static const store::EntityDescription& entity();
    const store::EntityDescription& entityDescription() const override { return entity(); }

    // "Quoril": the one collection seeded into an empty store. Made on first use, never released.
    static const std::shared_ptr<ItemCollection>& defaultCollection();

    const foundation::UUID& id() const { return read(&ItemCollection::id_); }
    void setId(const foundation::UUID& id) { write(&ItemCollection::id_, id); }
    const std::string& title() const { return read(&ItemCollection::title_); }
    void setTitle(std::string title) { write(&ItemCollection::title_, std::move(title)); }
    CollectionColor color() const { return read(&ItemCollection::color_); }
    void setColor(CollectionColor color) { write(&ItemCollection::color_, color); }
    // The goals whose collection this is; a goal joins or leaves through Item::setCollection.
    std::vector<std::shared_ptr<Item>> items() const { return readToMany(&ItemCollection::items_, "items"); }

private:
    friend class Item;
    struct StoredData {};
    explicit ItemCollection(StoredData);

    foundation::UUID id_;
    std::string title_;
    CollectionColor color_ = CollectionColor::red;
    store::ToMany<Item> items_;
};

} // namespace quoril
