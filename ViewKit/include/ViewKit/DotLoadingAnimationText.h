#pragma once

#include "ui/LocalizedStringKey.h"
#include "ui/View.h"

#include <memory>

namespace foundation {
class Bundle;
}

namespace ViewKit {

// A localised label followed by loading dots, as wide as its widest state throughout so that
// nothing around it moves while the dots come and go.
struct DotLoadingAnimationText {
    ui::LocalizedStringKey text;
    // Where `text` is looked up; null: the main bundle.
    std::shared_ptr<const foundation::Bundle> bundle;
    int dotCount;
    double interval;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
