#pragma once

#include "desktop/DockTilePlugIn.h"

#include "foundation/Bundle.h"
#include "foundation/Notification.h"
#include "reactive/AnyCancellable.h"

#include <memory>
#include <optional>
#include <string>

// Shows the dock icon chosen in the goal-list program while the program is not running, and
// redraws it whenever the program launches or terminates. It never watches the setting: the
// running program sets its own icon.
//
// Hold it in a std::shared_ptr: the subscriptions reach the instance through a weak reference,
// and while it is not shared they redraw nothing.
class QuorilDockTilePlugin final : public desktop::DockTilePlugIn,
                                   public std::enable_shared_from_this<QuorilDockTilePlugin> {
public:
    QuorilDockTilePlugin();
    // Ends both subscriptions before returning, so no delivery reaches a destroyed instance or
    // code of an unloaded library.
    ~QuorilDockTilePlugin() override;
    QuorilDockTilePlugin(const QuorilDockTilePlugin&) = delete;
    QuorilDockTilePlugin& operator=(const QuorilDockTilePlugin&) = delete;

    // With a tile: draws it at once and redraws it at each launch or termination of the program,
    // replacing the subscriptions of an earlier tile. With none: ends the subscriptions.
    void setDockTile(std::shared_ptr<desktop::DockTile> dockTile) override;
    std::shared_ptr<desktop::Menu> dockMenu() override { return nullptr; }

    // Shows the image of the program's "dockIcon" choice; leaves the tile as it was when the
    // program's suite cannot be opened or the image is missing.
    void updateDockTile(desktop::DockTile& dockTile);
    // Whether a workspace notification is about the program.
    bool isAppNotification(const foundation::Notification& notification) const;

    const std::string& appBundleID() const { return appBundleID_; }
    const std::shared_ptr<foundation::Bundle>& dockTilePluginBundle() const { return dockTilePluginBundle_; }

private:
    std::optional<reactive::AnyCancellable> applicationLaunchedPublisher_;
    std::optional<reactive::AnyCancellable> applicationTerminatedPublisher_;
    std::string appBundleID_;
    std::shared_ptr<foundation::Bundle> dockTilePluginBundle_;
};

// The bundle's create and destroy functions, named in its Info.plist.
extern "C" desktop::DockTilePlugIn* QuorilDockTilePluginCreate();
extern "C" void QuorilDockTilePluginDestroy(desktop::DockTilePlugIn* plugIn);
