#pragma once

#include "desktop/View.h"

#include "graphics/Image.h"

#include <memory>

namespace desktop {

// Shows one image, scaled to fit its bounds with its proportions kept, centred.
class ImageView final : public View {
public:
    static std::shared_ptr<ImageView> imageViewWithImage(graphics::Image image);

    explicit ImageView(graphics::Image image)
        : image_(std::move(image)) {}

    const graphics::Image& image() const { return image_; }
    void draw(QPainter& painter, const graphics::CGRect& bounds) const override;

private:
    graphics::Image image_;
};

} // namespace desktop
