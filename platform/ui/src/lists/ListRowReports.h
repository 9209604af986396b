// How a List tells which rows came and went.
#pragma once

#include "foundation/AnyHashable.h"
#include "ui/ListRowChanges.h"
#include "ui/Transaction.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace ui::detail {

// Compares the list's row ids with those of its previous update and reports the difference.
void noteListRows(Element& list, std::vector<foundation::AnyHashable> ids, const Transaction& transaction);
void reportListRowChanges(Element& list, ListRowChanges changes);
// How many rows the list has, built or not; none for an element that is not a list.
void noteListRowCount(Element& list, std::size_t count);
std::optional<std::size_t> listRowCount(const Element& element);

} // namespace ui::detail
