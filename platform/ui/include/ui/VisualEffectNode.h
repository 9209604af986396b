#pragma once

#include "ui/Geometry.h"
#include "ui/ViewNodes.h"
#include "ui/VisualEffect.h"

#include <functional>

namespace ui {

// The node of `visualEffect`: when painted, it asks its closure for the effects to put on the
// content, given the content's geometry as laid out. The numbers of what it chooses animate
// with the transaction of the update that changed them; a change of geometry alone shows at once.
class VisualEffectNode final : public detail::TransparentWrapperNode {
public:
    using Effect = std::function<VisualEffect(VisualEffect content, const GeometryProxy& proxy)>;

    VisualEffectNode(View content, Effect effect)
        : TransparentWrapperNode(std::move(content))
        , effect_(std::move(effect)) {}
    std::string_view typeName() const override { return "VisualEffect"; }
    void update(Element& element) const override;
    void render(const Element& element, DisplayList& list) const override;

    // The geometry the closure sees: the element's size and its frame in the root's coordinates.
    static GeometryProxy geometry(const Element& element);
    // What the closure makes of the element's current geometry.
    VisualEffect effect(const Element& element) const;
    // The same with the numbers the element presents now, mid-animation included.
    VisualEffect presentedEffect(const Element& element) const;

private:
    Effect effect_;
};

} // namespace ui
