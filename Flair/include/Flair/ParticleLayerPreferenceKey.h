#pragma once

#include "foundation/AnyHashable.h"
#include "foundation/UUID.h"
#include "graphics/CGRect.h"
#include "ui/Geometry.h"
#include "ui/View.h"

#include <functional>
#include <map>
#include <unordered_set>

namespace Flair {

// One particle view handed up to a particle layer: the layer's name, the view with its
// publisher's whole environment, and the publisher's bounds.
struct ParticleLayerContents {
    foundation::AnyHashable name;
    ui::View content;
    ui::Anchor<graphics::CGRect> bounds;

    // The same description (not an equal one): a publisher that did not run again publishes
    // an equal entry, so the layer is not rebuilt for it.
    bool operator==(const ParticleLayerContents& other) const {
        return name == other.name && content.node() == other.content.node() && bounds == other.bounds;
    }
};

// The particle views published below a view, by the identifier of the modifier that published
// each. Identifiers order as their upper-case text, which is the order the layer stacks them in.
struct ParticleLayerPreferenceKey {
    using Value = std::map<foundation::UUID, ParticleLayerContents>;
    static Value defaultValue() { return {}; }
    // A later sibling's entry replaces an earlier one under the same identifier.
    static void reduce(Value& value, const std::function<Value()>& nextValue) {
        for (auto& [id, contents] : nextValue())
            value.insert_or_assign(id, contents);
    }
};

// The names of the particle layers that enclose a view.
struct ParticleLayerNames {
    using Value = std::unordered_set<foundation::AnyHashable>;
    static Value defaultValue() { return {}; }
};

} // namespace Flair
