#include "ViewKit/ImageExtensions.h"

namespace ViewKit {

ui::Image image(const std::shared_ptr<const graphics::Image>& bitmap) {
    return ui::Image(bitmap ? *bitmap : graphics::Image());
}

ui::Image systemImage(std::string_view name) {
    return ui::Image::systemName(name);
}

ui::View resizable(const ui::Image& image, ui::ContentMode contentMode) {
    return image.resizable().aspectRatio(std::nullopt, contentMode);
}

} // namespace ViewKit
