#include "DockHost/PlugInLoader.h"

#include "foundation/Bundle.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <system_error>

namespace dock {

std::vector<std::filesystem::path> plugInFolders() {
    std::vector<std::filesystem::path> folders{foundation::Bundle::programPath().parent_path().parent_path() /
                                               "lib/quoril/dock-plugins"};
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        data = std::filesystem::path(home) / ".local/share";
    }
    if (!data.empty()) folders.push_back(data / "quoril/dock-plugins");
    return folders;
}

std::vector<std::unique_ptr<LoadedPlugIn>>
loadPlugIns(const std::vector<std::filesystem::path>& folders,
            const std::function<void(const std::string&)>& diagnostic) {
    std::vector<std::unique_ptr<LoadedPlugIn>> loaded;
    std::set<std::string> identifiers;
    for (const auto& folder : folders) {
        std::error_code error;
        std::vector<std::filesystem::path> bundles;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (entry.path().extension() == ".docktileplugin") bundles.push_back(entry.path());
        }
        std::sort(bundles.begin(), bundles.end());
        for (const auto& path : bundles) {
            // Checked before loading, so a second copy of a plug-in never runs.
            const auto bundle = foundation::Bundle::withPath(path);
            if (bundle && bundle->bundleIdentifier() && identifiers.contains(*bundle->bundleIdentifier())) {
                diagnostic("skipping " + path.string() + ": " + *bundle->bundleIdentifier() +
                           " is loaded already");
                continue;
            }
            std::string reason;
            auto plugIn = LoadedPlugIn::load(path, reason);
            if (!plugIn) {
                diagnostic("skipping " + path.string() + ": " + reason);
                continue;
            }
            identifiers.insert(plugIn->identifier());
            loaded.push_back(std::move(plugIn));
        }
    }
    return loaded;
}

} // namespace dock
