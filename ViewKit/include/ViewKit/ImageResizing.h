#pragma once

#include "graphics/CGSize.h"
#include "graphics/Image.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Resized copies and JPEG bytes of images. An image is shared, never changed: a new size is a
// new image. The new image has scale 1, so its pixel size is the target size in points, rounded;
// it is drawn smoothly, source over a transparent image.
//
// A source without pixels, or a target that is not positive and finite or has a side beyond
// 16,384, gives the null image (graphics::Image()).
namespace ViewKit {

using ImagePointer = std::shared_ptr<const graphics::Image>;

ImagePointer resized(const ImagePointer& image, graphics::CGSize size);
// The other side follows the aspect ratio, unrounded until the pixels are counted.
ImagePointer resizedToWidth(const ImagePointer& image, double width);
ImagePointer resizedToHeight(const ImagePointer& image, double height);
// The same pointer when the image is narrower (lower) than the limit; else a resized copy,
// also when it is exactly as wide (high).
ImagePointer downscaledToMaxWidth(const ImagePointer& image, double width);
ImagePointer downscaledToMaxHeight(const ImagePointer& image, double height);

// JPEG bytes at quality factor × 100, clamped to 0…100; nothing for a null or empty image.
std::optional<std::vector<std::uint8_t>> jpegData(const ImagePointer& image, double compressionFactor);
std::optional<std::vector<std::uint8_t>> jpegData(const ImagePointer& image, double width,
                                                  double compressionFactor);

} // namespace ViewKit
