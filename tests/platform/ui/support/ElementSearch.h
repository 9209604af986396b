#pragma once

#include "ui/Element.h"

#include <string_view>

namespace uitest {

// The first element below `root` (or `root` itself) whose node has `typeName`, depth first.
inline const ui::Element* inside(const ui::Element* root, std::string_view typeName) {
    if (!root) return nullptr;
    if (root->node().typeName() == typeName) return root;
    for (const auto& child : root->children()) {
        if (const auto* found = inside(child.get(), typeName)) return found;
    }
    return nullptr;
}

} // namespace uitest
