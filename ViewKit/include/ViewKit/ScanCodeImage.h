#pragma once

#include "ViewKit/ScanCodeType.h"

#include "graphics/Image.h"
#include "ui/Image.h"

#include <memory>
#include <optional>
#include <string_view>

namespace ViewKit {

// `text` (its UTF-8 bytes) drawn as a code of `type`, black on white, each side `scale` times the
// generator's own size (one pixel a module), rounded, with hard pixel edges; the image's point
// size is its pixel size. Null when the type cannot hold the text (empty, too long), or when the
// scale is not a positive finite number or would make a side longer than 16,384 pixels.
std::shared_ptr<const graphics::Image> scanCodeImage(std::string_view text, ScanCodeType type, double scale);
// The same as a view; nothing when there is no image.
std::optional<ui::Image> scanCodeView(std::string_view text, ScanCodeType type, double scale);

} // namespace ViewKit
