#pragma once

#include "foundation/RawRepresentable.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class KeyedArchiver;
class KeyedUnarchiver;

// What a font is, as settings keep it: a family, a face within it ("Bold"; empty for the
// family's regular face), a point size and a system design. An immutable value; archivable
// under the class name "NSFontDescriptor" with the fields "family", "face", "size" and
// "design" (the design's text name, see RawRepresentation<Design> below).
class NSFontDescriptor {
public:
    enum class Design { defaultDesign, serif, rounded, monospaced };

    NSFontDescriptor() = default;
    explicit NSFontDescriptor(std::string family, double pointSize = 0, Design design = Design::defaultDesign,
                              std::string face = {});

    const std::string& family() const { return family_; }
    const std::string& face() const { return face_; }
    double pointSize() const { return pointSize_; }
    Design design() const { return design_; }

    NSFontDescriptor withFamily(std::string family) const;
    NSFontDescriptor withSize(double pointSize) const;
    NSFontDescriptor withDesign(Design design) const;

    bool operator==(const NSFontDescriptor&) const = default;

    static std::string_view className() { return "NSFontDescriptor"; }
    void encode(KeyedArchiver& archiver) const;
    // nullptr for a missing family or size, an unknown design name, or a size that is negative
    // or not finite.
    static std::shared_ptr<NSFontDescriptor> decode(KeyedUnarchiver& unarchiver);

private:
    std::string family_;
    std::string face_;
    double pointSize_ = 0;
    Design design_ = Design::defaultDesign;
};

// "default", "serif", "rounded", "monospaced".
template <> struct RawRepresentation<NSFontDescriptor::Design> {
    using RawValue = std::string;
    static std::string rawValue(NSFontDescriptor::Design design);
    static std::optional<NSFontDescriptor::Design> fromRawValue(const std::string& name);
};

} // namespace foundation
