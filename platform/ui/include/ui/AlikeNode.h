#pragma once

#include "ui/View.h"

namespace ui::detail {

// A node that can take the place of the previous description of its element while the element
// keeps what it measured, placed, painted and handed up. `alike` says whether `previous` (any
// node) is of the same kind and differs at most in its content, which the children update for
// themselves and which marks them changed when it changes, and in actions read only when they
// run (gesture and event handlers). Lists describe their rows anew at each update, every
// modifier with new closures: rows that are alike keep their layout and drawing.
class AlikeNode {
public:
    virtual ~AlikeNode() = default;
    virtual bool alike(const ViewNode& previous) const = 0;
};

// Whether `node` is alike `previous` (false for nodes that do not say).
inline bool alike(const ViewNode& node, const ViewNode& previous) {
    const auto* self = dynamic_cast<const AlikeNode*>(&node);
    return self && self->alike(previous);
}

// For nodes whose own behaviour has no parameters: alike any node of the same type.
template <class Self> bool sameType(const ViewNode& previous) {
    return dynamic_cast<const Self*>(&previous) != nullptr;
}

} // namespace ui::detail
