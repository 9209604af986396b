#include "ViewKit/SheetContext.h"

namespace ViewKit {

std::shared_ptr<SheetContext> sheetContext(const ui::FocusedValues& values) {
    return detail::focusedContext<SheetContextFocusedValueKey>(values);
}

void setSheetContext(ui::FocusedValues& values, std::shared_ptr<SheetContext> context) {
    detail::setFocusedContext<SheetContextFocusedValueKey>(values, std::move(context));
}

ui::View SheetContextModifier::body(ui::ViewContext& ctx, ui::View content) const {
    detail::requireMainActor("sheet");
    if (!context) return content;
    ctx.observedObject(context);
    const auto& builder = context->content();
    std::function<ui::View()> build;
    if (builder && *builder)
        build = [builder = *builder] { return ui::View(builder()); };
    else
        build = [] { return ui::View(ui::AnyView(ui::EmptyView())); };
    return content.sheet(context->isActiveBinding(), {}, std::move(build)).environmentObject(context);
}

SheetContextModifier sheet(std::shared_ptr<SheetContext> context) {
    detail::requireMainActor("sheet");
    return SheetContextModifier{std::move(context)};
}

} // namespace ViewKit
