#pragma once

#include "ViewKit/ViewPresentationContext.h"

#include "ui/EnvironmentFocusedValues.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace ViewKit {

// A sheet to present: present([] { return EditGoalView{...}; }).
class SheetContext final : public ViewPresentationContext {};

struct SheetContextFocusedValueKey {
    using Value = std::shared_ptr<SheetContext>;
};
std::shared_ptr<SheetContext> sheetContext(const ui::FocusedValues& values);
void setSheetContext(ui::FocusedValues& values, std::shared_ptr<SheetContext> context);

// Binds the context to the view: its sheet shows while the context is active, built by the
// context's content (an empty sheet when there is none yet), and the user closing it writes
// false. The subtree finds the context as an environment object.
//
//     view | ViewKit::sheet(context)
struct SheetContextModifier {
    std::shared_ptr<SheetContext> context;
    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};
SheetContextModifier sheet(std::shared_ptr<SheetContext> context);

} // namespace ViewKit
