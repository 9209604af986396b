#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Binding.h"
#include "ui/Tab.h"
#include "ui/View.h"

#include <optional>
#include <vector>

namespace ui {

// A bar of tabs above the content of the selected one. Clicking a tab writes its value
// through the selection binding; the binding decides which tab shows. A selection that
// matches no tab shows the first one, without writing to the binding. Without a binding the
// view keeps the selection itself, starting at the first tab.
struct TabView {
    template <class V>
    TabView(Binding<V> selection, std::vector<Tab> tabs)
        : selection(Binding<foundation::AnyHashable>(
              [selection] { return foundation::AnyHashable(selection.get()); },
              // A value of another type than the binding's selects nothing.
              [selection](foundation::AnyHashable value) {
                  if (const V* typed = value.template get<V>()) selection.set(*typed);
              }))
        , tabs(std::move(tabs)) {}
    explicit TabView(std::vector<Tab> tabs)
        : tabs(std::move(tabs)) {}

    std::optional<Binding<foundation::AnyHashable>> selection;
    std::vector<Tab> tabs;

    View body(ViewContext& ctx) const;
};

} // namespace ui
