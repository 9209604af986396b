#include "painting/ScratchImages.h"

#include <vector>

namespace ui::detail {

namespace {

constexpr std::size_t keptImages = 8;
constexpr qsizetype largestKept = 4 * 1024 * 1024;

std::vector<QImage>& pool() {
    thread_local std::vector<QImage> images;
    return images;
}

} // namespace

QImage takeScratchImage(QSize size) {
    auto& images = pool();
    for (auto it = images.rbegin(); it != images.rend(); ++it) {
        // A copy made since it came back shares the pixels: it is not ours to paint over.
        if (it->size() != size || !it->isDetached()) continue;
        QImage image = std::move(*it);
        images.erase(std::next(it).base());
        return image;
    }
    return QImage(size, QImage::Format_ARGB32_Premultiplied);
}

void recycleScratchImage(QImage&& image) {
    if (image.isNull() || !image.isDetached() || image.format() != QImage::Format_ARGB32_Premultiplied ||
        image.sizeInBytes() > largestKept)
        return;
    image.setDevicePixelRatio(1);
    auto& images = pool();
    if (images.size() == keptImages) images.erase(images.begin());
    images.push_back(std::move(image));
}

} // namespace ui::detail
