#include "Flair/ShadedTransform3DEffect.h"
#include "ui/GeometryEffect.h"

namespace Flair {

ui::View ShadedTransform3DEffect::body(ui::ViewContext&, ui::View content) const {
    // Shaded as one picture, then drawn through the transform.
    return content.brightness(shadeBrightness(animatableData.first, lightSource))
        .compositingGroup()
        .modifier(Transform3DEffect(animatableData));
}

} // namespace Flair
