#include "ViewKit/ImageCache.h"

namespace ViewKit {

void ImageCache::setImage(ImagePointer image, const std::string& key) {
    cache_[key] = std::move(image);
}

ImageCache::ImagePointer ImageCache::image(std::string_view key) const {
    const auto found = cache_.find(key);
    return found == cache_.end() ? nullptr : found->second;
}

void ImageCache::removeImage(std::string_view key) {
    if (const auto found = cache_.find(key); found != cache_.end()) cache_.erase(found);
}

} // namespace ViewKit
