#include "DockHost/LoadedPlugIn.h"

#include <dlfcn.h>

#include <system_error>

namespace dock {

namespace {

// The text under `key` of the bundle's Info.plist, or empty.
std::string infoText(const foundation::Bundle& bundle, std::string_view key) {
    const std::string* text = bundle.objectForInfoDictionaryKey(key).string();
    return text ? *text : std::string();
}

} // namespace

std::unique_ptr<LoadedPlugIn> LoadedPlugIn::load(const std::filesystem::path& folder, std::string& error) {
    std::unique_ptr<LoadedPlugIn> plugIn(new LoadedPlugIn());
    plugIn->bundle_ = foundation::Bundle::withPath(folder);
    if (!plugIn->bundle_) {
        error = "not a bundle folder";
        return nullptr;
    }
    if (!plugIn->bundle_->bundleIdentifier()) {
        error = "its Info.plist names no bundle identifier";
        return nullptr;
    }
    plugIn->identifier_ = *plugIn->bundle_->bundleIdentifier();
    const std::string createName = infoText(*plugIn->bundle_, desktop::dockTilePlugInCreateKey);
    const std::string destroyName = infoText(*plugIn->bundle_, desktop::dockTilePlugInDestroyKey);
    if (createName.empty() || destroyName.empty()) {
        error = "its Info.plist names no create and destroy functions";
        return nullptr;
    }
    const auto library = plugIn->bundle_->bundlePath() / ("lib" + folder.stem().string() + ".so");
    std::error_code missing;
    if (!std::filesystem::is_regular_file(library, missing)) {
        error = "it holds no " + library.filename().string();
        return nullptr;
    }
    plugIn->library_ = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!plugIn->library_) {
        const char* reason = dlerror();
        error = reason ? reason : "it does not load";
        return nullptr;
    }
    const auto create =
        reinterpret_cast<desktop::DockTilePlugInCreateFunction>(dlsym(plugIn->library_, createName.c_str()));
    plugIn->destroy_ = reinterpret_cast<desktop::DockTilePlugInDestroyFunction>(
        dlsym(plugIn->library_, destroyName.c_str()));
    if (!create || !plugIn->destroy_) {
        error = "its library lacks " + (create ? destroyName : createName);
        return nullptr;
    }
    plugIn->instance_ = create();
    if (!plugIn->instance_) {
        error = createName + " made no instance";
        return nullptr;
    }
    plugIn->tile_ = std::make_shared<desktop::DockTile>();
    plugIn->instance_->setDockTile(plugIn->tile_);
    return plugIn;
}

LoadedPlugIn::~LoadedPlugIn() {
    if (instance_) {
        instance_->setDockTile(nullptr);
        destroy_(instance_);
    }
    // Whatever the library left in the tile may point into its code.
    if (tile_) {
        tile_->setDisplayHandler(nullptr);
        tile_->setContentView(nullptr);
    }
    if (library_) dlclose(library_);
}

} // namespace dock
