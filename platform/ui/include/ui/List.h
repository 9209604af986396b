#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Binding.h"
#include "ui/Edge.h"
#include "ui/Section.h"
#include "ui/Text.h"
#include "ui/View.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// The least height of a list row; rows take more when their content needs it.
struct DefaultMinListRowHeightKey {
    using Value = CGFloat;
    static Value defaultValue() { return 24; }
};

// Rows in a vertically scrolling column, built only while they are in sight. Rows are the
// content's views, a ForEach's one by one and a Section's header and rows. A ForEach with
// onMove lets its rows be dragged to new places; with a selection binding a click selects a row
// (by its ForEach id, or by its tag) and the Delete key, while the list has the keyboard focus,
// calls the selected row's onDelete. Under an animated transaction rows come and go with the
// transition their content carries, and fade in and out when it carries none.
class List : public View {
public:
    explicit List(std::vector<View> content);
    template <class ID> List(Binding<std::optional<ID>> selection, std::vector<View> content)
        : List(eraseSelection(std::move(selection)), std::move(content)) {}

    // The default insets of a row's content.
    static constexpr EdgeInsets defaultRowInsets{4, 8, 4, 8};

    struct ErasedSelection {
        std::function<std::optional<foundation::AnyHashable>()> get;
        std::function<void(std::optional<foundation::AnyHashable>)> set;
    };
    List(ErasedSelection selection, std::vector<View> content);

private:
    template <class ID> static ErasedSelection eraseSelection(Binding<std::optional<ID>> selection) {
        return {[selection]() -> std::optional<foundation::AnyHashable> {
                    auto value = selection.get();
                    if (!value) return std::nullopt;
                    if constexpr (std::is_convertible_v<ID, std::string_view>)
                        return foundation::AnyHashable(std::string(std::string_view(*value)));
                    else
                        return foundation::AnyHashable(*value);
                },
                [selection](std::optional<foundation::AnyHashable> id) {
                    if (!id) {
                        selection.set(std::nullopt);
                        return;
                    }
                    // Rows of another id type are not selectable with this binding.
                    if (const auto* value = id->template get<ID>()) selection.set(*value);
                }};
    }
};

} // namespace ui
