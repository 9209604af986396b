#pragma once

#include "Prefs/Serializable.h"
#include "Prefs/SerializableTraits.h"

#include "foundation/JSONCoding.h"
#include "foundation/PropertyList.h"

#include "ui/Color.h"

#include <optional>

namespace Prefs {

// The view layer's colours. A colour with components is stored as a two-element array, the
// colour-space name and the components (alpha last); any other colour as the keyed archive of
// its NSColor. Reading back checks both forms: an archive must hold an NSColor, and an array
// must name a known space and give one finite number per component of that space plus alpha.
// Anything else reads as nothing. A colour that has neither form (a named colour from a
// bundle's table, or a mix of dynamic colours) is not stored.
struct ColorBridge {
    using Value = ui::Color;
    using Serializable = foundation::PropertyList;

    static std::optional<foundation::PropertyList> serialize(const std::optional<ui::Color>& color);
    static std::optional<ui::Color> deserialize(const std::optional<foundation::PropertyList>& object);
};

template <> struct Bridge<ui::Color> : ColorBridge {};

// Resolved colours code as JSON, so they take the JSON-text bridge by themselves.
static_assert(foundation::Codable<ui::Color::Resolved>);
static_assert(std::is_base_of_v<TopLevelCodableBridge<ui::Color::Resolved>, Bridge<ui::Color::Resolved>>);

} // namespace Prefs
