#include "DockHost/TileStrip.h"

#include <QMetaObject>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace dock {

QImage renderTiles(const std::vector<std::unique_ptr<LoadedPlugIn>>& plugIns, double scale) {
    const int side = int(std::lround(desktop::DockTile::side * scale));
    QImage image(side * int(plugIns.size()), side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (std::size_t i = 0; i < plugIns.size(); ++i)
        painter.drawImage(QPoint(int(i) * side, 0), plugIns[i]->tile()->render(scale));
    return image;
}

TileStrip::TileStrip(const std::vector<std::unique_ptr<LoadedPlugIn>>& plugIns, QWidget* parent)
    : QWidget(parent)
    , plugIns_(plugIns) {
    const int side = int(desktop::DockTile::side);
    setFixedSize(side * std::max<int>(1, int(plugIns_.size())), side);
    setWindowTitle("Quoril Dock");
    for (const auto& plugIn : plugIns_) {
        // display() may come from any thread; the repaint is queued to this window's.
        plugIn->tile()->setDisplayHandler([window = QPointer<TileStrip>(this)] {
            if (!window) return;
            QMetaObject::invokeMethod(
                window,
                [window] {
                    if (window) window->update();
                },
                Qt::QueuedConnection);
        });
    }
}

TileStrip::~TileStrip() {
    for (const auto& plugIn : plugIns_)
        plugIn->tile()->setDisplayHandler(nullptr);
}

void TileStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const double side = desktop::DockTile::side;
    for (std::size_t i = 0; i < plugIns_.size(); ++i) {
        if (const auto view = plugIns_[i]->tile()->contentView()) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            view->draw(painter, {{double(i) * side, 0}, {side, side}});
            painter.restore();
        }
    }
}

} // namespace dock
