#pragma once

#include "store/ModelContext.h"

#include <memory>

namespace store {

// The model context of the views below; none unless a container was handed down.
struct ModelContextKey {
    using Value = std::shared_ptr<ModelContext>;
    static Value defaultValue() { return nullptr; }
};

} // namespace store
