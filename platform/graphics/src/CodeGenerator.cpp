#include "graphics/CodeGenerator.h"

#include <zint.h>

#include <climits>
#include <memory>

namespace graphics {

namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

std::optional<CodeGenerator> CodeGenerator::named(std::string_view filterName) {
    if (filterName == "CIAztecCodeGenerator") return CodeGenerator(BARCODE_AZTEC);
    if (filterName == "CICode128BarcodeGenerator") return CodeGenerator(BARCODE_CODE128);
    if (filterName == "CIPDF417BarcodeGenerator") return CodeGenerator(BARCODE_PDF417);
    if (filterName == "CIQRCodeGenerator") return CodeGenerator(BARCODE_QRCODE);
    return std::nullopt;
}

Image CodeGenerator::outputImage(std::span<const std::uint8_t> message) const {
    if (message.empty() || message.size() > std::size_t(INT_MAX)) return {};
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol) return {};
    symbol->symbology = symbology_;
    symbol->input_mode = DATA_MODE;
    symbol->show_hrt = 0;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    symbol->scale = 0.5f; // raster output draws two pixels a module at scale 1
    const int status = ZBarcode_Encode_and_Buffer(symbol.get(), message.data(), int(message.size()), 0);
    if (status >= ZINT_ERROR || !symbol->bitmap || symbol->bitmap_width <= 0 || symbol->bitmap_height <= 0)
        return {};

    // The bitmap is RGB, three bytes a pixel, rows without padding.
    QImage pixels(symbol->bitmap_width, symbol->bitmap_height, QImage::Format_RGB32);
    const unsigned char* source = symbol->bitmap;
    for (int y = 0; y < pixels.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x, source += 3)
            row[x] = qRgb(source[0], source[1], source[2]);
    }
    return Image(std::move(pixels));
}

} // namespace graphics
