#include "foundation/NSFontDescriptor.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"

#include <fmt/format.h>

#include <array>
#include <cmath>
#include <utility>

namespace foundation {

namespace {

using Design = NSFontDescriptor::Design;

constexpr std::array<std::pair<Design, std::string_view>, 4> designNames = {{
    {Design::defaultDesign, "default"},
    {Design::serif, "serif"},
    {Design::rounded, "rounded"},
    {Design::monospaced, "monospaced"},
}};

} // namespace

std::string RawRepresentation<Design>::rawValue(Design design) {
    for (const auto& [value, name] : designNames)
        if (value == design) return std::string(name);
    return "default";
}

std::optional<Design> RawRepresentation<Design>::fromRawValue(const std::string& name) {
    for (const auto& [value, known] : designNames)
        if (known == name) return value;
    return std::nullopt;
}

NSFontDescriptor::NSFontDescriptor(std::string family, double pointSize, Design design, std::string face)
    : family_(std::move(family))
    , face_(std::move(face))
    , pointSize_(pointSize)
    , design_(design) {}

NSFontDescriptor NSFontDescriptor::withFamily(std::string family) const {
    NSFontDescriptor copy = *this;
    copy.family_ = std::move(family);
    return copy;
}

NSFontDescriptor NSFontDescriptor::withSize(double pointSize) const {
    NSFontDescriptor copy = *this;
    copy.pointSize_ = pointSize;
    return copy;
}

NSFontDescriptor NSFontDescriptor::withDesign(Design design) const {
    NSFontDescriptor copy = *this;
    copy.design_ = design;
    return copy;
}

void NSFontDescriptor::encode(KeyedArchiver& archiver) const {
    archiver.encodeString("family", family_);
    archiver.encodeString("face", face_);
    archiver.encodeDouble("size", pointSize_);
    archiver.encodeString("design", foundation::rawValue(design_));
}

std::shared_ptr<NSFontDescriptor> NSFontDescriptor::decode(KeyedUnarchiver& unarchiver) {
    auto family = unarchiver.decodeString("family");
    auto face = unarchiver.decodeString("face");
    auto size = unarchiver.decodeDouble("size");
    auto designName = unarchiver.decodeString("design");
    if (!family || !size) return nullptr;
    if (!std::isfinite(*size) || *size < 0) {
        unarchiver.failWithError(fmt::format("The font size {} is not a usable size.", *size));
        return nullptr;
    }
    Design design = Design::defaultDesign;
    if (designName) {
        auto known = RawRepresentation<Design>::fromRawValue(*designName);
        if (!known) {
            unarchiver.failWithError(fmt::format("The font design '{}' is unknown.", *designName));
            return nullptr;
        }
        design = *known;
    }
    return std::make_shared<NSFontDescriptor>(std::move(*family), *size, design, face.value_or(""));
}

} // namespace foundation
