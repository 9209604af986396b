#include "ViewKit/ColorHex.h"

namespace ViewKit {

namespace {

struct Components {
    double red, green, blue;
};

Components componentsOf(std::uint64_t hex) {
    return {double((hex >> 16) & 0xFF) / 255.0, double((hex >> 8) & 0xFF) / 255.0,
            double(hex & 0xFF) / 255.0};
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::uint64_t> hexNumber(std::string_view text) {
    if (text.starts_with("0x"))
        text.remove_prefix(2);
    else if (text.starts_with('#'))
        text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + std::uint64_t(digit); // wraps past 16 digits
    }
    return value & 0xFFFF'FFFF;
}

} // namespace

ui::Color colorFromHex(std::uint64_t hex, double alpha) {
    const auto [red, green, blue] = componentsOf(hex);
    return ui::Color(ui::Color::RGBColorSpace::sRGB, red, green, blue, alpha);
}

graphics::NSColor nsColorFromHex(std::uint64_t hex, graphics::CGFloat alpha) {
    const auto [red, green, blue] = componentsOf(hex);
    return graphics::NSColor::sRGB(red, green, blue, alpha);
}

std::optional<ui::Color> colorFromHexString(std::string_view text, double alpha) {
    const auto hex = hexNumber(text);
    if (!hex) return std::nullopt;
    return colorFromHex(*hex, alpha);
}

std::optional<graphics::NSColor> nsColorFromHexString(std::string_view text, graphics::CGFloat alpha) {
    const auto hex = hexNumber(text);
    if (!hex) return std::nullopt;
    return nsColorFromHex(*hex, alpha);
}

} // namespace ViewKit
