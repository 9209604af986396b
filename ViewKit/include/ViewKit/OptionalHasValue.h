#pragma once

#include <optional>

namespace ViewKit {

// Whether the optional holds a value.
template <class T> bool hasValue(const std::optional<T>& optional) {
    return optional.has_value();
}

} // namespace ViewKit
