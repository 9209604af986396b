#include "foundation/Base64.h"

#include <array>

namespace foundation {

namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> makeDecodeTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}

constexpr auto decodeTable = makeDecodeTable();

} // namespace

std::string base64EncodedString(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group =
            std::uint32_t(bytes[i]) << 16 | std::uint32_t(bytes[i + 1]) << 8 | bytes[i + 2];
        text += alphabet[group >> 18 & 63];
        text += alphabet[group >> 12 & 63];
        text += alphabet[group >> 6 & 63];
        text += alphabet[group & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 0) return text;
    std::uint32_t group = std::uint32_t(bytes[i]) << 16;
    if (rest == 2) group |= std::uint32_t(bytes[i + 1]) << 8;
    text += alphabet[group >> 18 & 63];
    text += alphabet[group >> 12 & 63];
    text += rest == 2 ? alphabet[group >> 6 & 63] : '=';
    text += '=';
    return text;
}

std::optional<std::vector<std::uint8_t>> dataFromBase64(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=') ++padding;
    if (text.size() >= 2 && text[text.size() - 2] == '=') ++padding;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    const std::size_t end = text.size() - padding;
    std::uint32_t group = 0;
    int bits = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const int value = decodeTable[static_cast<unsigned char>(text[i])];
        if (value < 0) return std::nullopt;
        group = group << 6 | std::uint32_t(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(group >> bits));
            group &= (1u << bits) - 1;
        }
    }
    return bytes;
}

} // namespace foundation
