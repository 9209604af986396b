#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Edge.h"

#include <functional>

namespace ui {

class View;

// A position or rectangle of some view, resolvable in any other view's coordinates.
// Kept in the root's coordinate space, where layout places every view.
template <class Value> class Anchor {
public:
    explicit Anchor(Value global)
        : global_(global) {}
    const Value& globalValue() const { return global_; }
    bool operator==(const Anchor&) const = default;

private:
    Value global_;
};

// Where an anchor preference takes its anchor from.
enum class AnchorSource { bounds };

// The size and place of a geometry reader, handed to its content.
class GeometryProxy {
public:
    GeometryProxy() = default;
    GeometryProxy(graphics::CGSize size, graphics::CGRect globalFrame, EdgeInsets safeAreaInsets = {})
        : size_(size)
        , globalFrame_(globalFrame)
        , safeAreaInsets_(safeAreaInsets) {}

    graphics::CGSize size() const { return size_; }
    EdgeInsets safeAreaInsets() const { return safeAreaInsets_; }
    // The reader's frame in the root's coordinates (the platform's `.global` space).
    graphics::CGRect globalFrame() const { return globalFrame_; }

    // An anchor in this reader's own coordinates.
    graphics::CGRect operator[](const Anchor<graphics::CGRect>& anchor) const {
        const auto& r = anchor.globalValue();
        return r.offsetBy(-globalFrame_.origin.x, -globalFrame_.origin.y);
    }
    graphics::CGPoint operator[](const Anchor<graphics::CGPoint>& anchor) const {
        const auto& p = anchor.globalValue();
        return {p.x - globalFrame_.origin.x, p.y - globalFrame_.origin.y};
    }

    bool operator==(const GeometryProxy&) const = default;

private:
    graphics::CGSize size_;
    graphics::CGRect globalFrame_;
    EdgeInsets safeAreaInsets_;
};

} // namespace ui
