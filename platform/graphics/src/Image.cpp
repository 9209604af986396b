#include "graphics/Image.h"

#include <QFile>
#include <QString>

#include <cmath>
#include <string>
#include <utility>

namespace graphics {

Image::Image(QImage pixels, double scale)
    : pixels_(std::move(pixels))
    , scale_(std::isfinite(scale) && scale > 0 ? scale : 1) {}

Image Image::contentsOfFile(const std::filesystem::path& path, double scale) {
    QImage pixels;
    if (!pixels.load(QFile::decodeName(path.c_str()))) return {};
    return Image(std::move(pixels), scale);
}

Image Image::named(const std::filesystem::path& folder, std::string_view name) {
    // A NUL would cut the path short and find some other file.
    if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) return {};
    const std::string base(name);
    Image image = contentsOfFile(folder / (base + "@2x.png"), 2);
    if (!image.isNull()) return image;
    return contentsOfFile(folder / (base + ".png"), 1);
}

CGSize Image::size() const {
    if (isNull()) return CGSize::zero;
    return {pixels_.width() / scale_, pixels_.height() / scale_};
}

} // namespace graphics
