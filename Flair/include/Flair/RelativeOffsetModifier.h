#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/UnitPoint.h"

namespace Flair {

// Moves a view so that its centre lands on the unit point `anchor` of its own frame.
struct RelativeOffsetModifier {
    ui::UnitPoint anchor;

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const;

    bool operator==(const RelativeOffsetModifier&) const = default;
};

} // namespace Flair
