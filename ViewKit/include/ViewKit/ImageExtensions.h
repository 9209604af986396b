#pragma once

#include "graphics/Image.h"
#include "ui/Frame.h"
#include "ui/Image.h"
#include "ui/View.h"

#include <memory>
#include <string_view>

namespace ViewKit {

// The bitmap as an image view; a null pointer gives an image that takes no space.
ui::Image image(const std::shared_ptr<const graphics::Image>& bitmap);
// The system symbol `name` (ui::Image::systemName).
ui::Image systemImage(std::string_view name);
// The image stretched to what it is offered, then kept in its proportions: fit shows all of it
// within the offer, fill covers the offer.
ui::View resizable(const ui::Image& image, ui::ContentMode contentMode);

} // namespace ViewKit
