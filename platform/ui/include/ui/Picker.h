#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Binding.h"
#include "ui/PickerStyle.h"
#include "ui/Text.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ui {

namespace detail {

// A picker's selection with its type erased: read as a hashable value, written only with a
// value of the selection's own type.
struct PickerSelection {
    std::function<foundation::AnyHashable()> get;
    std::function<bool(const foundation::AnyHashable&)> set; // false for a tag of another type
};

struct PickerModel {
    View label;
    PickerSelection selection;
    View content;
};

struct PickerOption {
    foundation::AnyHashable tag;
    View label;
};

const PickerModel* pickerModel(const View& view);
// The content's options: each child view with its tag, in order; untagged children are left out.
std::vector<PickerOption> pickerOptions(const View& content);
// The option whose tag equals the selection; none when no tag does.
std::optional<std::size_t> selectedOption(const std::vector<PickerOption>& options,
                                          const foundation::AnyHashable& selection);

View makePicker(PickerModel model);

} // namespace detail

// Chooses one of the options in `content` by their tags (View::tag): the selection holds the
// tag of the chosen one. A selection that equals no tag shows no option as chosen, and tags
// of another type than the selection's can be seen but not chosen. Drawn by the environment's
// picker style; the label stands before the options unless labels are hidden.
class Picker : public View {
public:
    template <class T>
    Picker(Text title, Binding<T> selection, View content)
        : Picker(View(std::move(title)), std::move(selection), std::move(content)) {}
    template <class T>
    Picker(const char* title, Binding<T> selection, View content)
        : Picker(View(Text(title)), std::move(selection), std::move(content)) {}
    template <class T>
    Picker(View label, Binding<T> selection, View content)
        : View(detail::makePicker({std::move(label), erase(std::move(selection)), std::move(content)})) {}

private:
    template <class T> static detail::PickerSelection erase(Binding<T> selection) {
        return {[selection] { return foundation::AnyHashable(selection.get()); },
                [selection](const foundation::AnyHashable& tag) {
                    const T* value = tag.template get<T>();
                    if (!value) return false;
                    selection.set(*value);
                    return true;
                }};
    }
};

} // namespace ui
