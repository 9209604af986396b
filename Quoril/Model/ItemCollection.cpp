#include "Model/ItemCollection.h"

namespace quoril {

ItemCollection::ItemCollection(std::string title)
    : title_(std::move(title)) {}

// The stored identifier replaces this one (or a new one, should it be unreadable).
ItemCollection::ItemCollection(StoredData)
    : id_(foundation::UUID::Bytes{}) {}

const store::EntityDescription& ItemCollection::entity() {
    static const store::EntityDescription description{
        "ItemCollection",
        {
            store::attribute("id", &ItemCollection::id_,
                             {.defaultValue = [] { return store::Value(foundation::UUID()); }}),
            store::attribute("title", &ItemCollection::title_,
                             {.options = {store::AttributeOption::spotlight}}),
            store::attribute(
                "color", &ItemCollection::color_,
                {.defaultValue =
                     [] { return store::ValueTraits<CollectionColor>::toValue(CollectionColor::red); }}),
        },
        {store::toMany("items", &ItemCollection::items_, store::DeleteRule::cascade)},
        [] { return std::shared_ptr<store::PersistentModel>(new ItemCollection(StoredData{})); },
    };
    return description;
}

const std::shared_ptr<ItemCollection>& ItemCollection::defaultCollection() {
    static const auto* collection =
        new std::shared_ptr<ItemCollection>(std::make_shared<ItemCollection>("Quoril"));
    return *collection;
}

} // namespace quoril
