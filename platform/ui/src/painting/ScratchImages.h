#pragma once

#include <QImage>

namespace ui::detail {

// Premultiplied ARGB32 images for short-lived layers, taken from those handed back recently on
// the same thread: a frame of many layers of the same size then reuses memory it has already
// touched instead of faulting in fresh pages for each. The pixels are left as they were.
QImage takeScratchImage(QSize size);
// Hands an image back for reuse; kept only if nothing else shares its pixels.
void recycleScratchImage(QImage&& image);

} // namespace ui::detail
