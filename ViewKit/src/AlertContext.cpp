#include "ViewKit/AlertContext.h"

#include "ui/Text.h"

#include <string>

namespace ViewKit {

std::shared_ptr<AlertContext> alertContext(const ui::FocusedValues& values) {
    return detail::focusedContext<AlertContextFocusedValueKey>(values);
}

void setAlertContext(ui::FocusedValues& values, std::shared_ptr<AlertContext> context) {
    detail::setFocusedContext<AlertContextFocusedValueKey>(values, std::move(context));
}

ui::View AlertContextModifier::body(ui::ViewContext& ctx, ui::View content) const {
    detail::requireMainActor("alert");
    if (!context) return content;
    ctx.observedObject(context);
    const auto& builder = context->content();
    std::function<ui::Alert()> build;
    if (builder && *builder)
        build = *builder;
    else
        build = [] { return ui::Alert(ui::Text(std::string())); };
    return content.alert(context->isActiveBinding(), std::move(build)).environmentObject(context);
}

AlertContextModifier alert(std::shared_ptr<AlertContext> context) {
    detail::requireMainActor("alert");
    return AlertContextModifier{std::move(context)};
}

} // namespace ViewKit
