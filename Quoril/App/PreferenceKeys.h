#pragma once

#include "Prefs/Key.h"

#include "foundation/Date.h"

#include <memory>

// The program's own preference keys, all on the standard suite, each made on first use and
// never released. ("dockIcon" is shared with the plug-in: QuorilShared/DockIconKey.h.)
namespace quoril {

// Burn the accomplished goals when the program goes to the background. Default false.
const std::shared_ptr<Prefs::Key<bool>>& burnOnQuit();
// Burn them once a day, when the program becomes active and at each day change. Default false.
const std::shared_ptr<Prefs::Key<bool>>& burnAtEndOfDay();
// When the automatic burn last ran. The default is fixed when the key is first used, in
// practice when the program starts, so a first start never burns before the next day.
const std::shared_ptr<Prefs::Key<foundation::Date>>& lastAutoBurnDate();
// Kept for the settings window; nothing reads or writes it yet. Default true.
const std::shared_ptr<Prefs::Key<bool>>& accentColorMatchesDockIcon();

} // namespace quoril
