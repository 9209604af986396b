#include "desktop/DockTile.h"

#include <QPainter>

#include <cmath>

namespace desktop {

std::shared_ptr<View> DockTile::contentView() const {
    std::lock_guard lock(mutex_);
    return contentView_;
}

void DockTile::setContentView(std::shared_ptr<View> view) {
    std::lock_guard lock(mutex_);
    contentView_ = std::move(view);
}

void DockTile::display() {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        ++displayCount_;
        handler = displayHandler_;
    }
    // Outside the lock, so the handler may read the tile.
    if (handler) handler();
}

std::uint64_t DockTile::displayCount() const {
    std::lock_guard lock(mutex_);
    return displayCount_;
}

void DockTile::setDisplayHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    displayHandler_ = std::move(handler);
}

QImage DockTile::render(double scale) const {
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
    const int pixels = int(std::lround(side * scale));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (const auto view = contentView()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        view->draw(painter, {{0, 0}, size()});
    }
    return image;
}

} // namespace desktop
