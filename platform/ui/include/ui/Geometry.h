#pragma once

#include "graphics/CGAffineTransform.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/Edge.h"

#include <functional>

namespace ui {

class View;

// A position or rectangle of some view, resolvable in any other view's coordinates.
// Kept in the root's coordinate space, where the view shows after geometry effects.
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

// The size and place of a geometry reader, handed to its content. A reader inside geometry
// effects shows moved, turned or in perspective: its global frame is the bounds of where it
// shows, and anchors resolve through the same transform.
class GeometryProxy {
public:
    GeometryProxy() = default;
    GeometryProxy(graphics::CGSize size, graphics::CGRect globalFrame, EdgeInsets safeAreaInsets = {})
        : size_(size)
        , globalFrame_(globalFrame)
        , toGlobal_(graphics::CGAffineTransform::translation(globalFrame.origin.x, globalFrame.origin.y))
        , safeAreaInsets_(safeAreaInsets) {}
    // `toGlobal` maps the reader's own coordinates (origin at its top leading corner) to the root's.
    GeometryProxy(graphics::CGSize size, const graphics::ProjectionTransform& toGlobal,
                  EdgeInsets safeAreaInsets = {})
        : size_(size)
        , globalFrame_(graphics::CGRect{{0, 0}, size}.applying(toGlobal))
        , toGlobal_(toGlobal)
        , safeAreaInsets_(safeAreaInsets) {}

    graphics::CGSize size() const { return size_; }
    EdgeInsets safeAreaInsets() const { return safeAreaInsets_; }
    // The bounds of the reader in the root's coordinates (the platform's `.global` space).
    graphics::CGRect globalFrame() const { return globalFrame_; }
    const graphics::ProjectionTransform& transformToGlobal() const { return toGlobal_; }

    // An anchor in this reader's own coordinates (for a turned reader, the bounds of it there).
    graphics::CGRect operator[](const Anchor<graphics::CGRect>& anchor) const {
        return anchor.globalValue().applying(toGlobal_.inverted());
    }
    graphics::CGPoint operator[](const Anchor<graphics::CGPoint>& anchor) const {
        return anchor.globalValue().applying(toGlobal_.inverted());
    }

    bool operator==(const GeometryProxy&) const = default;

private:
    graphics::CGSize size_;
    graphics::CGRect globalFrame_;
    graphics::ProjectionTransform toGlobal_;
    EdgeInsets safeAreaInsets_;
};

} // namespace ui
