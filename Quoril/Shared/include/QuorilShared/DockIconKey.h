#pragma once

#include "QuorilShared/MacAppIcon.h"

#include "Prefs/Key.h"

#include <memory>

namespace quoril {

// "dockIcon" on the standard suite, default red: written by the Appearance settings, read by
// the settings window and by the dock-tile plug-in on the program's suite. Made on first use,
// released when the program ends or the plug-in is unloaded.
const std::shared_ptr<Prefs::Key<MacAppIcon>>& dockIcon();

} // namespace quoril
