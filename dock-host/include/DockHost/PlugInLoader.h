#pragma once

#include "DockHost/LoadedPlugIn.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dock {

// The folders searched for `<Name>.docktileplugin` bundles, in order: the one beside the
// program (`<program's folder>/../lib/quoril/dock-plugins`, in the build tree and installed),
// then `$XDG_DATA_HOME/quoril/dock-plugins`.
std::vector<std::filesystem::path> plugInFolders();

// Loads every bundle in `folders` (each folder in name order), the first of each bundle
// identifier only. A bundle that cannot be loaded is skipped and reported to `diagnostic`.
std::vector<std::unique_ptr<LoadedPlugIn>>
loadPlugIns(const std::vector<std::filesystem::path>& folders,
            const std::function<void(const std::string&)>& diagnostic);

} // namespace dock
