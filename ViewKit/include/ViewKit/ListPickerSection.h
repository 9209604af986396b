#pragma once

#include "foundation/UUID.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ViewKit {

// The header of a picker section: the title verbatim, or none when it holds only spaces and
// tabs (a line break is content and gets a header).
std::optional<ui::View> listPickerSectionHeader(const std::string& title);

// A titled group of picker items. `id` is a fresh random id made with the section; the pickers
// identify sections by their place, so a section made anew in each body keeps its rows.
template <class Item> struct ListPickerSection {
    foundation::UUID id;
    std::string title;
    std::vector<Item> items;

    ListPickerSection(std::string title, std::vector<Item> items)
        : title(std::move(title))
        , items(std::move(items)) {}

    std::optional<ui::View> header() const { return listPickerSectionHeader(title); }
};

namespace detail {
// A list of one untitled section, its items moved in rather than copied from a braced list.
template <class Item> std::vector<ListPickerSection<Item>> untitledSection(std::vector<Item> items) {
    std::vector<ListPickerSection<Item>> sections;
    sections.emplace_back("", std::move(items));
    return sections;
}
} // namespace detail

} // namespace ViewKit
