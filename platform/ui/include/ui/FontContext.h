#pragma once

#include "ui/ContentSizeCategory.h"
#include "ui/Font.h"

#include <optional>

namespace ui {

// What a font needs from the environment to become a concrete face.
struct FontContext {
    ContentSizeCategory sizeCategory = ContentSizeCategory::large;
    // The environment's design (`fontDesign`): used by system fonts that name none themselves.
    std::optional<Font::Design> design;

    bool operator==(const FontContext&) const = default;
};

} // namespace ui
