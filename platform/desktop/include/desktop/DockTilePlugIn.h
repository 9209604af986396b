#pragma once

#include "desktop/DockTile.h"

#include <memory>
#include <string_view>

namespace desktop {

class Menu;

// The principal class of a dock tile plug-in bundle (`<Name>.docktileplugin/` holding
// `lib<Name>.so`, `Info.plist` and `Resources/`). The host makes one instance through the
// bundle's create function, hands it a tile, takes it away with setDockTile(nullptr) on the
// main thread, then destroys the instance through the destroy function before unloading.
class DockTilePlugIn {
public:
    virtual ~DockTilePlugIn() = default;
    virtual void setDockTile(std::shared_ptr<DockTile> tile) = 0;
    // Extra items for the tile's menu; nullptr for none.
    virtual std::shared_ptr<Menu> dockMenu() = 0;
};

// Only these two cross the library boundary; the Info.plist names them under the keys below.
using DockTilePlugInCreateFunction = DockTilePlugIn* (*)();
using DockTilePlugInDestroyFunction = void (*)(DockTilePlugIn*);
inline constexpr std::string_view dockTilePlugInCreateKey = "DockTilePlugInCreateFunction";
inline constexpr std::string_view dockTilePlugInDestroyKey = "DockTilePlugInDestroyFunction";

} // namespace desktop
