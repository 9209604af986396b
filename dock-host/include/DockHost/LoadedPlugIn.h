#pragma once

#include "desktop/DockTile.h"
#include "desktop/DockTilePlugIn.h"

#include "foundation/Bundle.h"

#include <filesystem>
#include <memory>
#include <string>

namespace dock {

// A plug-in bundle loaded into the host, with the instance of its principal class and the tile
// handed to it. Destroying it, on the main thread, takes the tile away, destroys the instance
// and unloads the library, in that order.
class LoadedPlugIn {
public:
    // The bundle at `folder`, loaded and handed a new tile; nullptr with `error` set when the
    // bundle cannot be used.
    static std::unique_ptr<LoadedPlugIn> load(const std::filesystem::path& folder, std::string& error);

    ~LoadedPlugIn();
    LoadedPlugIn(const LoadedPlugIn&) = delete;
    LoadedPlugIn& operator=(const LoadedPlugIn&) = delete;

    const std::string& identifier() const { return identifier_; }
    const std::shared_ptr<foundation::Bundle>& bundle() const { return bundle_; }
    const std::shared_ptr<desktop::DockTile>& tile() const { return tile_; }

private:
    LoadedPlugIn() = default;

    std::shared_ptr<foundation::Bundle> bundle_;
    std::string identifier_;
    void* library_ = nullptr;
    desktop::DockTilePlugIn* instance_ = nullptr;
    desktop::DockTilePlugInDestroyFunction destroy_ = nullptr;
    std::shared_ptr<desktop::DockTile> tile_;
};

} // namespace dock
