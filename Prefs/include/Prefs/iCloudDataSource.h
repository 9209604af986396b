#pragma once

namespace Prefs::iCloud {

// The direction of one synchronisation step: the side whose value wins.
enum class DataSource {
    local = 0,  // push the suite's value to the remote store
    remote = 1, // pull the remote value into the suite
};

} // namespace Prefs::iCloud
