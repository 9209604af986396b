#pragma once

#include "ViewKit/PresentationContext.h"

#include "ui/Alert.h"
#include "ui/EnvironmentFocusedValues.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>

namespace ViewKit {

// An alert to present: present([] { return ui::Alert(ui::Text("Saved")); }).
class AlertContext final : public PresentationContext<ui::Alert> {};

// Publishes an alert context for the program's commands (View::focusedValue,
// ViewContext::focusedValue).
struct AlertContextFocusedValueKey {
    using Value = std::shared_ptr<AlertContext>;
};
// The published context, or null.
std::shared_ptr<AlertContext> alertContext(const ui::FocusedValues& values);
// Publishes `context` in `values`; null takes it out.
void setAlertContext(ui::FocusedValues& values, std::shared_ptr<AlertContext> context);

// Binds the context to the view: its alert shows while the context is active, built by the
// context's content (an alert with an empty title when there is none yet), and the user closing
// it writes false. The subtree finds the context as an environment object.
//
//     view | ViewKit::alert(context)
struct AlertContextModifier {
    std::shared_ptr<AlertContext> context;
    ui::View body(ui::ViewContext& ctx, ui::View content) const;
};
AlertContextModifier alert(std::shared_ptr<AlertContext> context);

} // namespace ViewKit
