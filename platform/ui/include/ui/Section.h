#pragma once

#include "ui/View.h"

#include <concepts>
#include <optional>

namespace ui {

// A titled group of rows in a Form (or a List). On its own it stacks its header, its rows and
// its footer.
struct Section {
    template <std::derived_from<View> V>
    explicit Section(V content)
        : content(std::move(content)) {}
    Section(Text header, View content)
        : header(View(std::move(header)))
        , content(std::move(content)) {}
    Section(const char* header, View content)
        : Section(Text(header), std::move(content)) {}
    Section(View content, std::optional<View> header, std::optional<View> footer)
        : header(std::move(header))
        , footer(std::move(footer))
        , content(std::move(content)) {}

    std::optional<View> header;
    std::optional<View> footer;
    View content;

    View body(ViewContext& ctx) const;
};

} // namespace ui
