#pragma once

#include "ViewKit/ViewPresentationContext.h"

#include "ui/EnvironmentFocusedValues.h"

#include <memory>

namespace ViewKit {

// A full-screen cover to present. It has no modifier of its own: callers reach it through its
// focused value or an environment object they set, and bind it themselves
// (View::fullScreenCover with isActiveBinding()).
class FullScreenCoverContext final : public ViewPresentationContext {};

struct FullScreenCoverContextFocusedValueKey {
    using Value = std::shared_ptr<FullScreenCoverContext>;
};
std::shared_ptr<FullScreenCoverContext> fullScreenCoverContext(const ui::FocusedValues& values);
void setFullScreenCoverContext(ui::FocusedValues& values, std::shared_ptr<FullScreenCoverContext> context);

} // namespace ViewKit
