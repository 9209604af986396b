#pragma once

#include "graphics/CGColor.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {
class KeyedArchiver;
class KeyedUnarchiver;
} // namespace foundation

namespace graphics {

// A colour as the desktop toolkit keeps it: either components in a colour space (it has a
// CGColor), or a named system colour that follows the appearance and is resolved only when
// drawn (it has none). Immutable. Archivable under the class name "NSColor": component colours
// as "colorSpace" (the space's name) and "components" (alpha last), system colours as "name".
class NSColor {
public:
    static NSColor withCGColor(const CGColor& color);
    static NSColor sRGB(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha = 1);
    // A system colour by name ("labelColor", "controlAccentColor", ...); nullopt for a name
    // this toolkit does not know.
    static std::optional<NSColor> systemColor(std::string_view name);

    // Empty for a system colour.
    const std::optional<CGColor>& cgColor() const { return cgColor_; }
    // Empty for a component colour.
    const std::string& systemColorName() const { return name_; }
    bool isSystemColor() const { return !cgColor_; }
    // What is drawn: the components, or the system colour in the dark appearance.
    CGColor resolved() const;

    bool operator==(const NSColor&) const = default;

    static std::string_view className() { return "NSColor"; }
    void encode(foundation::KeyedArchiver& archiver) const;
    // nullptr for an unknown space or system colour, or components that do not fit the space.
    static std::shared_ptr<NSColor> decode(foundation::KeyedUnarchiver& unarchiver);

private:
    NSColor() = default;
    std::optional<CGColor> cgColor_;
    std::string name_;
};

} // namespace graphics
