#include "ui/GeometryEffect.h"
#include "ui/OffsetEffect.h"
#include "ui/Rotation3DEffect.h"
#include "ui/RotationEffect.h"
#include "ui/ScaleEffect.h"

namespace ui {

View View::offset(graphics::CGSize offset) const {
    return modifier(OffsetEffect{{offset.width, offset.height}});
}

View View::scaleEffect(graphics::CGSize scale, UnitPoint anchor) const {
    return modifier(ScaleEffect{{scale.width, scale.height}, anchor});
}

View View::rotationEffect(Angle angle, UnitPoint anchor) const {
    return modifier(RotationEffect{angle.radians(), anchor});
}

View View::rotation3DEffect(Angle angle, RotationAxis axis, UnitPoint anchor, CGFloat anchorZ,
                            CGFloat perspective) const {
    return modifier(Rotation3DEffect{angle.radians(), axis, anchor, anchorZ, perspective});
}

} // namespace ui
