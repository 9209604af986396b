// The text helpers on any bytes: the first two bytes give two positions, the rest is the text.
// ISO dates decode or fail with a DecodingError and, once decoded, survive another round trip;
// Base64, percent-encoding, hex colours, the Boolean reading, e-mail matching, line starts and
// slices never fail in any other way and keep within the text.
#include "ViewKit/CollectionAccess.h"
#include "ViewKit/ColorHex.h"
#include "ViewKit/ISO8601DateCoding.h"
#include "ViewKit/StringExtensions.h"
#include "ViewKit/StringLines.h"
#include "ViewKit/ValidationRegex.h"

#include "foundation/GraphemeClusters.h"
#include "foundation/UTF8.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void checkISODate(std::string_view text) {
    foundation::Date date;
    try {
        date = ViewKit::iso8601DateDecoder().decode<foundation::Date>(text);
    } catch (const foundation::DecodingError&) {
        return;
    }
    foundation::Data again;
    try {
        again = ViewKit::iso8601DateEncoder().encode(date);
    } catch (const foundation::EncodingError&) {
        return; // a year before the era: read, but never written
    }
    const auto back = ViewKit::iso8601DateDecoder().decode<foundation::Date>(again);
    if (std::abs(back - date) >= 0.001) std::abort();
}

void checkEncodings(std::string_view text) {
    if (const auto encoded = ViewKit::base64Encoded(text)) {
        if (ViewKit::base64Decoded(*encoded) != text) std::abort();
    } else if (foundation::isValidUTF8(text)) {
        std::abort();
    }
    if (const auto decoded = ViewKit::base64Decoded(text); decoded && !foundation::isValidUTF8(*decoded))
        std::abort();
    if (const auto url = ViewKit::urlEncoded(text)) {
        for (const char c : *url)
            if (static_cast<unsigned char>(c) >= 0x80 || c == '&' || c == '+' || c == ' ' || c == '?')
                std::abort();
    }
    (void)ViewKit::colorFromHexString(text, 0.5);
    (void)ViewKit::boolValue(text);
    (void)ViewKit::ValidationRegex::email.matches(text);
}

void checkPositions(std::string_view text, std::size_t a, std::size_t b) {
    const std::size_t count = foundation::graphemeClusterCount(text);
    const std::size_t line = ViewKit::startOfLine(text, a);
    const std::size_t next = ViewKit::startOfNextLine(text, a);
    if (line > a || (count > 0 && line >= count) || next > count) std::abort();
    const auto element = ViewKit::element(text, a);
    if (element.has_value() != (a < count)) std::abort();
    const std::string closed = ViewKit::slice(text, foundation::ClosedRange<std::size_t>(a, b));
    const std::string open = ViewKit::slice(text, foundation::Range<std::size_t>(a, b));
    if (closed.size() > text.size() || open.size() > closed.size()) std::abort();
    if (text.find(closed) == std::string_view::npos) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t a = std::uint8_t(input[0]) % 32;
    const std::size_t b = a + std::uint8_t(input[1]) % 32;
    const std::string_view text = input.substr(2);
    checkISODate(text);
    checkEncodings(text);
    checkPositions(text, a, b);
    return 0;
}
