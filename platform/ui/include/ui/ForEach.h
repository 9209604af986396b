#pragma once

#include "foundation/AnyHashable.h"
#include "foundation/IndexSet.h"
#include "ui/View.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <ranges>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace ui {

namespace detail {
template <class T>
concept HasID = requires(const T& value) {
    value.id;
};

template <class T> foundation::AnyHashable toHashable(const T& value) {
    if constexpr (std::is_convertible_v<T, std::string_view>)
        return foundation::AnyHashable(std::string(std::string_view(value)));
    else
        return foundation::AnyHashable(value);
}

template <class Element, class Key, class Content> class ForEachNode final : public ListNode {
public:
    ForEachNode(std::vector<Element> data, Key key, Content content)
        : data_(std::make_shared<const std::vector<Element>>(std::move(data)))
        , key_(std::move(key))
        , content_(std::move(content)) {}

    std::string_view typeName() const override { return "ForEach"; }
    std::size_t count() const override { return data_->size(); }
    bool hasExplicitIDs() const override { return !std::is_same_v<Key, std::nullptr_t>; }
    foundation::AnyHashable idAt(std::size_t index) const override {
        if constexpr (std::is_same_v<Key, std::nullptr_t>) {
            return foundation::AnyHashable(index);
        } else {
            // A list asks for every id more than once per update (to find its rows, to tell
            // which came and went): each is worked out once, for this node and its copies.
            if (ids_->empty()) ids_->resize(data_->size());
            auto& id = (*ids_)[index];
            if (!id.has_value()) id = toHashable(key_((*data_)[index]));
            return id;
        }
    }
    std::shared_ptr<ListNode> withWrapper(Wrapper wrapper) const override {
        auto copy = std::make_shared<ForEachNode>(*this);
        copy->wrappers_.push_back(std::move(wrapper));
        return copy;
    }

protected:
    View rawViewAt(std::size_t index) const override { return View(content_((*data_)[index])); }

private:
    std::shared_ptr<const std::vector<Element>> data_;
    Key key_;
    Content content_;
    std::shared_ptr<std::vector<foundation::AnyHashable>> ids_ = std::make_shared<std::vector<foundation::AnyHashable>>();
};
// A ForEach with the edits a list may make to its data: moving rows by dragging them and
// deleting the selected one. Stands for the rows of the ForEach it wraps.
class EditableListNode final : public ListNode {
public:
    using MoveAction = std::function<void(const foundation::IndexSet&, std::size_t)>;
    using DeleteAction = std::function<void(const foundation::IndexSet&)>;

    EditableListNode(std::shared_ptr<const ListNode> rows, MoveAction move, DeleteAction remove)
        : rows_(std::move(rows))
        , move_(std::move(move))
        , delete_(std::move(remove)) {}

    std::string_view typeName() const override { return "ForEach"; }
    std::size_t count() const override { return rows_->count(); }
    bool hasExplicitIDs() const override { return rows_->hasExplicitIDs(); }
    foundation::AnyHashable idAt(std::size_t index) const override { return rows_->idAt(index); }
    std::shared_ptr<ListNode> withWrapper(Wrapper wrapper) const override {
        auto copy = std::make_shared<EditableListNode>(*this);
        copy->wrappers_.push_back(std::move(wrapper));
        return copy;
    }
    const MoveAction& moveAction() const { return move_; }
    const std::shared_ptr<const ListNode>& rows() const { return rows_; }
    const DeleteAction& deleteAction() const { return delete_; }

protected:
    View rawViewAt(std::size_t index) const override { return rows_->viewAt(index); }

private:
    std::shared_ptr<const ListNode> rows_;
    MoveAction move_;
    DeleteAction delete_;
};
} // namespace detail

// Views made from data, one per element, each keeping its identity (and state) by its id:
// reordered data moves the rows, and only a new id makes a new row.
class ForEach : public View {
public:
    // Identity by the element's position, for data that never moves.
    struct ByOffset {};
    static constexpr ByOffset byOffset{};

    // Identity by key(element): a UUID, a string, an integer, anything hashable.
    template <std::ranges::input_range R, class Key, class Content>
    requires std::invocable < Key&, const std::ranges::range_value_t<R>
    & > &&std::invocable<Content&, const std::ranges::range_value_t<R>&> ForEach(R&& data, Key key,
                                                                                 Content content)
        : View(std::make_shared<detail::ForEachNode<std::ranges::range_value_t<R>, Key, Content>>(
              collect(std::forward<R>(data)), std::move(key), std::move(content))) {}

    // Identity by the elements' `id` member; integers are their own identity.
    template <std::ranges::input_range R, class Content>
    requires std::invocable < Content&, const std::ranges::range_value_t<R>
    & > &&(detail::HasID<std::ranges::range_value_t<R>> ||
           std::integral<std::ranges::range_value_t<R>>)ForEach(R&& data, Content content)
        : ForEach(std::forward<R>(data), keyOf<std::ranges::range_value_t<R>>(), std::move(content)) {}

    template <std::ranges::input_range R, class Content>
    requires std::invocable < Content&, const std::ranges::range_value_t<R>
    & > ForEach(R&& data, ByOffset, Content content)
        : View(std::make_shared<detail::ForEachNode<std::ranges::range_value_t<R>, std::nullptr_t, Content>>(
              collect(std::forward<R>(data)), nullptr, std::move(content))) {}

    // The integers of [lower, upper), each its own identity.
    template <class Content>
    requires std::invocable<Content&, const int&> ForEach(int lower, int upper, Content content)
        : ForEach(std::views::iota(lower, std::max(lower, upper)), std::move(content)) {}

    // In a List: dragging a row calls `action` with the offsets of the moved rows and the
    // offset, in the data before the move, that they go before (the count means the end).
    ForEach onMove(detail::EditableListNode::MoveAction action) const;
    // In a List with a selection: the Delete key calls `action` with the selected row's offset.
    ForEach onDelete(detail::EditableListNode::DeleteAction action) const;

private:
    std::shared_ptr<const ListNode> asList() const {
        return std::dynamic_pointer_cast<const ListNode>(node());
    }
    explicit ForEach(std::shared_ptr<const ViewNode> node)
        : View(std::move(node)) {}
    template <class R> static auto collect(R&& data) {
        using Value = std::ranges::range_value_t<R>;
        // A vector handed over is taken as it is: lists of thousands are not copied again.
        if constexpr (std::is_same_v<R, std::vector<Value>>) {
            return std::vector<Value>(std::move(data));
        } else {
            std::vector<Value> result;
            if constexpr (std::ranges::sized_range<R>) result.reserve(std::ranges::size(data));
            for (auto&& value : data)
                result.push_back(value);
            return result;
        }
    }
    template <class T> static auto keyOf() {
        if constexpr (std::integral<T>)
            return [](const T& value) { return value; };
        else
            return [](const T& value) { return value.id; };
    }
};

inline ForEach ForEach::onMove(detail::EditableListNode::MoveAction action) const {
    const auto* editable = nodeAs<detail::EditableListNode>();
    auto rows = editable ? std::static_pointer_cast<const ListNode>(editable->rows()) : asList();
    return ForEach(std::make_shared<detail::EditableListNode>(rows, std::move(action),
                                                              editable ? editable->deleteAction() : nullptr));
}

inline ForEach ForEach::onDelete(detail::EditableListNode::DeleteAction action) const {
    const auto* editable = nodeAs<detail::EditableListNode>();
    auto rows = editable ? std::static_pointer_cast<const ListNode>(editable->rows()) : asList();
    return ForEach(std::make_shared<detail::EditableListNode>(
        rows, editable ? editable->moveAction() : nullptr, std::move(action)));
}

} // namespace ui
