#include "ViewKit/ScanCodeImage.h"

#include "graphics/CodeGenerator.h"

#include <cmath>
#include <cstdint>
#include <span>

namespace ViewKit {

namespace {

constexpr double longestSide = 16384;

} // namespace

std::shared_ptr<const graphics::Image> scanCodeImage(std::string_view text, ScanCodeType type, double scale) {
    if (!std::isfinite(scale) || scale <= 0) return nullptr;
    const auto generator = graphics::CodeGenerator::named(ciFilterName(type));
    if (!generator) return nullptr;
    const graphics::Image native =
        generator->outputImage(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (native.isNull()) return nullptr;
    const double width = std::round(native.pixelSize().width() * scale);
    const double height = std::round(native.pixelSize().height() * scale);
    if (width < 1 || height < 1 || width > longestSide || height > longestSide) return nullptr;
    // Nearest neighbour keeps every module a sharp square.
    QImage scaled =
        native.qImage().scaled(int(width), int(height), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (scaled.isNull()) return nullptr;
    return std::make_shared<const graphics::Image>(std::move(scaled));
}

std::optional<ui::Image> scanCodeView(std::string_view text, ScanCodeType type, double scale) {
    const auto image = scanCodeImage(text, type, scale);
    if (!image) return std::nullopt;
    return ui::Image(*image);
}

} // namespace ViewKit
