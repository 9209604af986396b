#pragma once

#include "foundation/AnyHashable.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace Flair {

// Declares the view a particle layer named `name`: the particle effects inside it whose layer
// has this name draw here, in the view's overlay, each over the bounds of the view it
// decorates, stacked in the order of their identifiers. Of nested layers of one name the
// innermost draws; entries for other names pass on to the layers above.
//     view | Flair::particleLayer("sky")
struct ParticleLayerModifier {
    foundation::AnyHashable name;

    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};

inline ParticleLayerModifier particleLayer(foundation::AnyHashable name) {
    return {std::move(name)};
}

} // namespace Flair
