// Scan codes of any bytes: the first byte picks the type and the scale (0 to 8.5 in halves, so 0
// too), the rest is the text. Either no image or one whose sides are the native ones times the
// scale, rounded, never beyond the longest side allowed.
#include "ViewKit/ScanCodeImage.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto type = ViewKit::allScanCodeTypes[data[0] % 4];
    const double scale = (data[0] >> 2) % 18 * 0.5;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto image = ViewKit::scanCodeImage(text, type, scale);
    if (!image) return 0;
    if (scale == 0 || text.empty()) std::abort();
    const auto native = ViewKit::scanCodeImage(text, type, 1);
    if (!native) std::abort();
    if (image->pixelSize().width() != std::lround(native->pixelSize().width() * scale)) std::abort();
    if (image->pixelSize().width() > 16384 || image->pixelSize().height() > 16384) std::abort();
    return 0;
}
