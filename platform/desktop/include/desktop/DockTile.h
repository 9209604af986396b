#pragma once

#include "desktop/View.h"

#include "graphics/CGSize.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace desktop {

// A program's tile in the dock. Its owner sets the content view and calls display() when it
// should be redrawn; the host that shows the tile learns of that through its display handler.
// Safe on any thread; the handler runs on the thread that calls display().
class DockTile {
public:
    // Tiles are square, this many points on a side.
    static constexpr double side = 128;

    graphics::CGSize size() const { return {side, side}; }

    std::shared_ptr<View> contentView() const;
    void setContentView(std::shared_ptr<View> view);

    void display();
    // How often display() was called.
    std::uint64_t displayCount() const;

    // For the host.
    void setDisplayHandler(std::function<void()> handler);
    // The content view drawn on a transparent tile, `scale` pixels a point.
    QImage render(double scale = 1) const;

private:
    mutable std::mutex mutex_;
    std::shared_ptr<View> contentView_;
    std::function<void()> displayHandler_;
    std::uint64_t displayCount_ = 0;
};

} // namespace desktop
