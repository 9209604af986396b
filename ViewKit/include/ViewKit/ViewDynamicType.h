#pragma once

#include "ViewKit/ViewOperation.h"

#include "ui/ContentSizeCategory.h"

namespace ViewKit {

// The text inside sized for `category`.
ViewOperation sizeCategory(ui::ContentSizeCategory category);

} // namespace ViewKit
