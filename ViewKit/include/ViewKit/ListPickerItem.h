#pragma once

#include "ui/View.h"

#include <concepts>

namespace ViewKit {

// A row of a picker that knows its item and whether it is selected; draw its mark with
// checkmark(row.isSelected).
template <class Row>
concept ListPickerItem = ui::CustomView<Row> && std::equality_comparable<typename Row::Item> &&
    requires(const Row& row) {
    { row.item } -> std::convertible_to<const typename Row::Item&>;
    { row.isSelected } -> std::convertible_to<bool>;
};

// The "checkmark" symbol, hidden but keeping its space while not selected.
ui::View checkmark(bool isSelected);

} // namespace ViewKit
