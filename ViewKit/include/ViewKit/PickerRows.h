#pragma once

#include "ViewKit/PickerItemID.h"

#include "foundation/AnyHashable.h"
#include "ui/ForEach.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <concepts>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

namespace ViewKit::detail {

// A picker's items with their row ids. A list asks for every row's id at every update, and an
// id may cost more than a row in sight (a font's is its name lower-cased), so the ids are made
// once per change of the items.
template <class Item> struct PickerItems {
    std::vector<Item> items;
    std::vector<foundation::AnyHashable> ids;

    explicit PickerItems(const std::vector<Item>& source)
        : items(source) {
        ids.reserve(items.size());
        for (const auto& item : items)
            ids.push_back(ui::detail::toHashable(pickerItemID(item)));
    }
};

template <class Item> using KeptPickerItems = std::vector<std::shared_ptr<const PickerItems<Item>>>;

// What the picker's element kept of its items at the last update, one entry per section.
template <class Item> KeptPickerItems<Item>& keptPickerItems(ui::ViewContext& ctx) {
    const std::string name = std::string("\x01pickerItems:") + typeid(Item).name();
    return *ctx.element().slot<KeptPickerItems<Item>>(
        name, [] { return std::make_shared<KeptPickerItems<Item>>(); });
}

// `items` with their ids: those kept while the items stay equal, else made anew and kept.
template <class Item>
std::shared_ptr<const PickerItems<Item>> pickerItems(std::shared_ptr<const PickerItems<Item>>& kept,
                                                     const std::vector<Item>& items) {
    if constexpr (std::equality_comparable<Item>) {
        if (kept && kept->items == items) return kept;
    }
    kept = std::make_shared<const PickerItems<Item>>(items);
    return kept;
}

// One row per item, known by the item's id; `content(item, id)` makes a row's view.
template <class Item, class Content> class PickerRowsNode final : public ui::ListNode {
public:
    PickerRowsNode(std::shared_ptr<const PickerItems<Item>> data, Content content)
        : data_(std::move(data))
        , content_(std::move(content)) {}

    std::string_view typeName() const override { return "ForEach"; }
    std::size_t count() const override { return data_->items.size(); }
    bool hasExplicitIDs() const override { return true; }
    foundation::AnyHashable idAt(std::size_t index) const override { return data_->ids[index]; }
    std::shared_ptr<ui::ListNode> withWrapper(Wrapper wrapper) const override {
        auto copy = std::make_shared<PickerRowsNode>(*this);
        copy->wrappers_.push_back(std::move(wrapper));
        return copy;
    }

protected:
    ui::View rawViewAt(std::size_t index) const override {
        return content_(data_->items[index], data_->ids[index]);
    }

private:
    std::shared_ptr<const PickerItems<Item>> data_;
    Content content_;
};

template <class Item, class Content>
ui::View pickerRows(std::shared_ptr<const PickerItems<Item>> data, Content content) {
    return ui::View(std::make_shared<PickerRowsNode<Item, Content>>(std::move(data), std::move(content)));
}

} // namespace ViewKit::detail
