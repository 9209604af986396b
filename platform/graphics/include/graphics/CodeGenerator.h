#pragma once

#include "graphics/Image.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace graphics {

// Machine-readable code images from bytes: Aztec, Code 128, PDF417 and QR, by the names of the
// generator filters ("CIQRCodeGenerator" …). A cheap value; each call to outputImage stands alone.
class CodeGenerator {
public:
    // Nothing for a name other than the four generators'.
    static std::optional<CodeGenerator> named(std::string_view filterName);

    // One pixel per module, black on white, with the symbology's quiet zone around it (Code 128
    // without its human-readable line); the bytes are encoded as they are. The null image when
    // the symbology cannot hold them (no bytes, or too many).
    Image outputImage(std::span<const std::uint8_t> message) const;

private:
    explicit CodeGenerator(int symbology)
        : symbology_(symbology) {}
    int symbology_;
};

} // namespace graphics
