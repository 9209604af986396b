#include "ViewKit/ViewEnabled.h"

#include "ViewKit/MainActor.h"

namespace ViewKit {

ViewOperation enabled(bool enabled) {
    detail::requireMainActor("enabled");
    return ViewOperation([enabled](const ui::View& view) { return view.disabled(!enabled); });
}

} // namespace ViewKit
