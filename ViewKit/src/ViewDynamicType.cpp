#include "ViewKit/ViewDynamicType.h"

#include "ViewKit/MainActor.h"

#include "ui/EnvironmentKeys.h"

namespace ViewKit {

ViewOperation sizeCategory(ui::ContentSizeCategory category) {
    detail::requireMainActor("sizeCategory");
    return ViewOperation(
        [category](const ui::View& view) { return view.environment(ui::SizeCategoryKey{}, category); });
}

} // namespace ViewKit
