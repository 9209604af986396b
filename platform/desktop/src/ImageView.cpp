#include "desktop/ImageView.h"

#include <QPainter>
#include <QRectF>

#include <algorithm>

namespace desktop {

std::shared_ptr<ImageView> ImageView::imageViewWithImage(graphics::Image image) {
    return std::make_shared<ImageView>(std::move(image));
}

void ImageView::draw(QPainter& painter, const graphics::CGRect& bounds) const {
    if (image_.isNull()) return;
    const graphics::CGSize size = image_.size();
    if (size.width <= 0 || size.height <= 0) return;
    const double fit = std::min(bounds.size.width / size.width, bounds.size.height / size.height);
    const double width = size.width * fit;
    const double height = size.height * fit;
    const QRectF target(bounds.origin.x + (bounds.size.width - width) / 2,
                        bounds.origin.y + (bounds.size.height - height) / 2, width, height);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image_.qImage());
    painter.restore();
}

} // namespace desktop
