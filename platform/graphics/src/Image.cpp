#include "graphics/Image.h"

#include <foundation/Bundle.h>

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

Image Image::named(const foundation::Bundle& bundle, std::string_view name) {
    if (auto resource = bundle.imageResourcePath(name)) {
        Image image = contentsOfFile(resource->path, resource->scale);
        if (!image.isNull() || resource->scale == 1) return image;
    }
    if (auto plain = bundle.pathForResource(name, "png")) return contentsOfFile(*plain, 1);
    return {};
}

CGSize Image::size() const {
    if (isNull()) return CGSize::zero;
    return {pixels_.width() / scale_, pixels_.height() / scale_};
}

} // namespace graphics
