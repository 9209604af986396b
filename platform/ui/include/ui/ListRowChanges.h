#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Transaction.h"

#include <vector>

namespace ui {

class Element;

// The rows (by id) a List gained and lost in one update, with the transaction of that update.
// Every List reports its changes here, so row insertion and removal effects start in one place;
// the last report stays on the list's element until the next one.
struct ListRowChanges {
    std::vector<foundation::AnyHashable> inserted;
    std::vector<foundation::AnyHashable> removed;
    Transaction transaction;

    bool isEmpty() const { return inserted.empty() && removed.empty(); }
    // The last change of the list whose element is `list` or lies inside it; null when none.
    static const ListRowChanges* last(const Element& list);
};

} // namespace ui
