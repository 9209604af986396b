#pragma once

#include "ui/LocalizedStringKey.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace foundation {
class Bundle;
}

namespace ViewKit {

// A section title in small secondary capitals, its text looked up in `bundle` (the main bundle
// when null). With `applyInsets` it lines up with the rows' content: indented by the standard
// padding and pulled up 3 points.
struct ListSectionTitle {
    ui::LocalizedStringKey text;
    std::shared_ptr<const foundation::Bundle> bundle;
    bool applyInsets = false;

    ui::View body(ui::ViewContext& ctx) const;
};

// A one-line secondary subtitle, cut short when it does not fit.
struct ListSubtitle {
    ui::LocalizedStringKey text;
    std::shared_ptr<const foundation::Bundle> bundle;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
