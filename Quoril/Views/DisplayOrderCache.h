#pragma once

#include "Model/Item.h"

#include <memory>
#include <vector>

namespace quoril {

// The list's goals in display order, kept from one evaluation to the next: sorted again only
// when the query's result or a goal's completed/in-progress flag differs from the last time
// (typing a title, moving the focus or hovering re-evaluates the list without either).
// Main thread only.
class DisplayOrderCache {
public:
    // `results` stably sorted with Item::displayOrder.
    const std::vector<std::shared_ptr<Item>>& sorted(const std::vector<std::shared_ptr<Item>>& results);
    // The same, to keep beyond the next call: a later sort makes a new list, never changes this one.
    std::shared_ptr<const std::vector<std::shared_ptr<Item>>>
    sharedSorted(const std::vector<std::shared_ptr<Item>>& results);
    // Whether a goal given to the last sorted() was completed.
    bool anyCompleted() const;

private:
    // The goals sorted last, by identity (`shown_` keeps them alive), and their flags then.
    std::vector<const Item*> source_;
    std::vector<Item::DisplayFlags> flags_;
    std::shared_ptr<const std::vector<std::shared_ptr<Item>>> shown_;
    bool valid_ = false;
};

} // namespace quoril
