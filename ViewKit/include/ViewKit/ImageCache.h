#pragma once

#include "graphics/Image.h"

#include <map>
#include <memory>
#include <string>

namespace ViewKit {

// Images kept in memory by a text key, until removed or the cache goes. No limit, no eviction,
// and no lock: callers serialise their use of one cache.
class ImageCache {
public:
    using ImagePointer = std::shared_ptr<const graphics::Image>;

    ImageCache() = default;
    virtual ~ImageCache() = default;

    const std::map<std::string, ImagePointer, std::less<>>& cache() const { return cache_; }
    std::map<std::string, ImagePointer, std::less<>>& cache() { return cache_; }

    // Inserts or replaces.
    virtual void setImage(ImagePointer image, const std::string& key);
    // Null when nothing is stored under the key.
    virtual ImagePointer image(std::string_view key) const;
    // Does nothing for a key that is not there.
    virtual void removeImage(std::string_view key);

private:
    std::map<std::string, ImagePointer, std::less<>> cache_;
};

} // namespace ViewKit
