#pragma once

#include "ViewKit/MainActor.h"

#include "ui/Binding.h"

#include <optional>

namespace ViewKit {

// A binding to a plain value over one to an optional value: it reads `defaultValue` while the
// optional is absent, and writes present values.
template <class T> ui::Binding<T> optionalBinding(ui::Binding<std::optional<T>> optional, T defaultValue) {
    return ui::Binding<T>(
        [optional, defaultValue] {
            detail::requireMainActor("optionalBinding");
            return optional.get().value_or(defaultValue);
        },
        [optional](T value) {
            detail::requireMainActor("optionalBinding");
            optional.set(std::move(value));
        });
}

} // namespace ViewKit
