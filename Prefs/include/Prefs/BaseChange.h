#pragma once

#include "foundation/KeyValueObserving.h"
#include "foundation/PropertyList.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace Prefs {

// An untyped change of a key, as the suite reported it. An absent value means none was given
// (a prior notification has no new value, an initial one no old value, a removed key neither).
struct BaseChange {
    foundation::KeyValueChangeKind kind = foundation::KeyValueChangeKind::setting;
    std::optional<std::vector<std::size_t>> indexes;
    bool isPrior = false;
    foundation::PropertyList newValue;
    foundation::PropertyList oldValue;

    BaseChange() = default;
    explicit BaseChange(const foundation::KeyValueChange& change)
        : kind(change.kind)
        , indexes(change.indexes)
        , isPrior(change.isPrior)
        , newValue(change.newValue)
        , oldValue(change.oldValue) {}
};

} // namespace Prefs
