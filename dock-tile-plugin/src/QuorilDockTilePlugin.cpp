#include "QuorilDockTilePlugin/QuorilDockTilePlugin.h"

#include "QuorilShared/BundleIdentifier.h"
#include "QuorilShared/DockIconKey.h"
#include "QuorilShared/MacAppIcon.h"

#include "desktop/ImageView.h"
#include "desktop/RunningApplication.h"
#include "desktop/Workspace.h"

#include "Prefs/ValueAccess.h"
#include "foundation/UserDefaults.h"
#include "graphics/Image.h"
#include "reactive/NotificationPublisher.h"
#include "reactive/RemoveDuplicates.h"
#include "reactive/Sink.h"

#include <map>
#include <mutex>
#include <string_view>

namespace {

// Any address inside this library finds its bundle.
const char bundleAnchor = 0;

reactive::AnyCancellable redrawOn(std::string_view name, std::weak_ptr<QuorilDockTilePlugin> plugin,
                                  std::shared_ptr<desktop::DockTile> dockTile) {
    return reactive::publisher(desktop::Workspace::sharedWorkspace().notificationCenter(), std::string(name))
        .removeDuplicates()
        .sink(
            [plugin = std::move(plugin), dockTile = std::move(dockTile)](const foundation::Notification& n) {
                const auto self = plugin.lock();
                if (self && self->isAppNotification(n)) self->updateDockTile(*dockTile);
            });
}

} // namespace

QuorilDockTilePlugin::QuorilDockTilePlugin()
    : appBundleID_(quoril::bundleIdentifier)
    , dockTilePluginBundle_(foundation::Bundle::forCode(&bundleAnchor)) {}

QuorilDockTilePlugin::~QuorilDockTilePlugin() {
    if (applicationLaunchedPublisher_) applicationLaunchedPublisher_->cancel();
    if (applicationTerminatedPublisher_) applicationTerminatedPublisher_->cancel();
}

void QuorilDockTilePlugin::setDockTile(std::shared_ptr<desktop::DockTile> dockTile) {
    if (!dockTile) {
        if (applicationLaunchedPublisher_) applicationLaunchedPublisher_->cancel();
        if (applicationTerminatedPublisher_) applicationTerminatedPublisher_->cancel();
        applicationLaunchedPublisher_.reset();
        applicationTerminatedPublisher_.reset();
        return;
    }
    updateDockTile(*dockTile);
    // Assigning releases the earlier subscription, which ends it.
    applicationLaunchedPublisher_ =
        redrawOn(desktop::NSWorkspaceDidLaunchApplicationNotification, weak_from_this(), dockTile);
    applicationTerminatedPublisher_ =
        redrawOn(desktop::NSWorkspaceDidTerminateApplicationNotification, weak_from_this(), dockTile);
}

void QuorilDockTilePlugin::updateDockTile(desktop::DockTile& dockTile) {
    // A new suite object each time: the program may have changed the setting since.
    const auto suite = foundation::UserDefaults::make(appBundleID_);
    if (!suite) return;
    const quoril::MacAppIcon icon = Prefs::get(*suite, quoril::dockIcon());
    if (!dockTilePluginBundle_) return;
    graphics::Image image = graphics::Image::named(*dockTilePluginBundle_, quoril::imageName(icon));
    if (image.isNull()) return;
    dockTile.setContentView(desktop::ImageView::imageViewWithImage(std::move(image)));
    dockTile.display();
}

bool QuorilDockTilePlugin::isAppNotification(const foundation::Notification& notification) const {
    const auto entry = notification.userInfo.find(std::string(desktop::NSWorkspaceApplicationKey));
    if (entry == notification.userInfo.end()) return false;
    const auto* application = entry->second.get<desktop::RunningApplication>();
    if (!application || !application->bundleIdentifier) return false;
    return *application->bundleIdentifier == appBundleID_;
}

namespace {

// The host's references, one per instance it made; the instance goes when destroy drops it.
std::mutex instancesMutex;
std::map<desktop::DockTilePlugIn*, std::shared_ptr<QuorilDockTilePlugin>>& instances() {
    static std::map<desktop::DockTilePlugIn*, std::shared_ptr<QuorilDockTilePlugin>> map;
    return map;
}

} // namespace

extern "C" desktop::DockTilePlugIn* QuorilDockTilePluginCreate() {
    auto plugin = std::make_shared<QuorilDockTilePlugin>();
    desktop::DockTilePlugIn* handle = plugin.get();
    std::lock_guard lock(instancesMutex);
    instances().emplace(handle, std::move(plugin));
    return handle;
}

extern "C" void QuorilDockTilePluginDestroy(desktop::DockTilePlugIn* plugIn) {
    std::shared_ptr<QuorilDockTilePlugin> last;
    {
        std::lock_guard lock(instancesMutex);
        const auto it = instances().find(plugIn);
        if (it == instances().end()) return;
        last = std::move(it->second);
        instances().erase(it);
    }
    // Destroyed here, outside the lock.
}
