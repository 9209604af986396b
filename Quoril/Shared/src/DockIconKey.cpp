#include "QuorilShared/DockIconKey.h"

#include "Prefs/Serializable.h"

#include "foundation/JSONCoding.h"

#include <type_traits>

namespace quoril {

// The plug-in reads "dockIcon" as the JSON text of the raw value; another bridge, or JSON of
// anything but the raw value, would store a form it no longer reads.
static_assert(std::is_base_of_v<Prefs::RawRepresentableCodableBridge<MacAppIcon>, Prefs::Bridge<MacAppIcon>>);
static_assert(foundation::codesByRawValue<MacAppIcon>);

const std::shared_ptr<Prefs::Key<MacAppIcon>>& dockIcon() {
    // An object, not a pointer left behind: the plug-in that holds this code is unloaded and
    // loaded again, and each load would otherwise leave a key behind.
    static const auto key = std::make_shared<Prefs::Key<MacAppIcon>>("dockIcon", MacAppIcon::red);
    return key;
}

} // namespace quoril
