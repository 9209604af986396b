#pragma once

#include "ViewKit/ViewOperation.h"

namespace ViewKit {

// Menus inside keep their declared order (menuOrder(fixed)), the view erased to AnyView.
ViewOperation prefersFixedMenuOrder();
// The window's system overlays are asked to hide (persistentSystemOverlays(hidden)), the view
// erased to AnyView.
ViewOperation prefersHiddenSystemOverlays();

} // namespace ViewKit
