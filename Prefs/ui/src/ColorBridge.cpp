#include "Prefs/ColorBridge.h"

#include "Prefs/Bridges.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"

#include "graphics/CGColor.h"
#include "graphics/CGColorSpace.h"
#include "graphics/CGFloat.h"
#include "graphics/NSColor.h"

#include <exception>
#include <string>
#include <vector>

namespace Prefs {

namespace {

std::optional<ui::Color> fromArchive(const foundation::Data& data) {
    try {
        if (auto color = foundation::KeyedUnarchiver::unarchivedObject<graphics::NSColor>(data))
            return ui::Color(*color);
    } catch (const foundation::UnarchivingError& error) {
        detail::printDiagnostic(error.description());
    } catch (const std::exception&) {
        // Data another program wrote that the class itself refuses: no value.
    }
    return std::nullopt;
}

std::optional<ui::Color> fromComponents(const foundation::PropertyList::Array& array) {
    if (array.size() < 2) return std::nullopt;
    const std::string* name = array[0].string();
    const foundation::PropertyList::Array* list = array[1].array();
    if (!name || !list) return std::nullopt;
    const auto space = graphics::CGColorSpace::withName(*name);
    if (!space) return std::nullopt;
    std::vector<graphics::CGFloat> components;
    components.reserve(list->size());
    for (const auto& element : *list) {
        const auto component = element.number<graphics::CGFloat>();
        if (!component) return std::nullopt;
        components.push_back(*component);
    }
    // Checks the count (the space's components plus alpha) and that all are finite.
    const auto color = graphics::CGColor::create(*space, components);
    if (!color) return std::nullopt;
    return ui::Color(*color);
}

} // namespace

std::optional<foundation::PropertyList> ColorBridge::serialize(const std::optional<ui::Color>& color) {
    if (!color) return std::nullopt;
    if (const auto cgColor = color->cgColor()) {
        foundation::PropertyList::Array components;
        components.reserve(cgColor->components().size());
        for (const graphics::CGFloat component : cgColor->components())
            components.emplace_back(component);
        return foundation::PropertyList(foundation::PropertyList::Array{
            foundation::PropertyList(std::string(cgColor->colorSpace().name())),
            foundation::PropertyList(std::move(components))});
    }
    const auto nsColor = color->nsColor();
    if (!nsColor) return std::nullopt;
    try {
        return foundation::PropertyList(foundation::KeyedArchiver::archivedData(*nsColor, true));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<ui::Color> ColorBridge::deserialize(const std::optional<foundation::PropertyList>& object) {
    if (!object) return std::nullopt;
    if (const foundation::Data* data = object->data()) return fromArchive(*data);
    if (const foundation::PropertyList::Array* array = object->array()) return fromComponents(*array);
    return std::nullopt;
}

} // namespace Prefs
