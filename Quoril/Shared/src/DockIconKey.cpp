#include "QuorilShared/DockIconKey.h"

namespace quoril {

const std::shared_ptr<Prefs::Key<MacAppIcon>>& dockIcon() {
    static const auto* key = new std::shared_ptr<Prefs::Key<MacAppIcon>>(
        std::make_shared<Prefs::Key<MacAppIcon>>("dockIcon", MacAppIcon::red));
    return *key;
}

} // namespace quoril
