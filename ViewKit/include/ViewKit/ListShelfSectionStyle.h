#pragma once

#include "ViewKit/ViewOperation.h"

namespace ViewKit {

// The insets and spacings of shelf sections, in points; set for a subtree with
// listShelfSectionStyle.
struct ListShelfSectionStyle {
    double horizontalPadding = 16; // before the title and the first item, after the last
    double rowSpacing = 16;        // below the section
    double rowTitleSpacing = 10;   // between the title and the items
    double rowItemSpacing = 16;    // between neighbouring items

    bool operator==(const ListShelfSectionStyle&) const = default;
};

struct ListShelfSectionStyleKey {
    using Value = ListShelfSectionStyle;
    static Value defaultValue() { return {}; }
};

ViewOperation listShelfSectionStyle(ListShelfSectionStyle style);

} // namespace ViewKit
