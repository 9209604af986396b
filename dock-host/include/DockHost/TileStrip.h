#pragma once

#include "DockHost/LoadedPlugIn.h"

#include <QImage>
#include <QWidget>

#include <memory>
#include <vector>

namespace dock {

// The tiles side by side, left to right, each DockTile::side points square, `scale` pixels a
// point; a transparent image of no width without tiles.
QImage renderTiles(const std::vector<std::unique_ptr<LoadedPlugIn>>& plugIns, double scale = 1);

// The host's window: the tiles in a row, repainted whenever a plug-in displays its tile.
class TileStrip final : public QWidget {
public:
    explicit TileStrip(const std::vector<std::unique_ptr<LoadedPlugIn>>& plugIns, QWidget* parent = nullptr);
    ~TileStrip() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<std::unique_ptr<LoadedPlugIn>>& plugIns_;
};

} // namespace dock
