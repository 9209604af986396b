#include "ui/MenuOrder.h"
#include "ui/SystemOverlays.h"
#include "ui/View.h"

namespace ui {

View View::menuOrder(MenuOrder order) const {
    return environment(MenuOrderKey{}, order);
}

View View::persistentSystemOverlays(Visibility visibility) const {
    return preference(PersistentSystemOverlaysKey{}, visibility);
}

} // namespace ui
