#include "ui/ColorScheme.h"
#include "ui/ButtonStyle.h"
#include "ui/EnvironmentKeys.h"
#include "ui/EventTargets.h"
#include "ui/MenuModel.h"
#include "ui/PickerStyle.h"
#include "ui/PopupPresenter.h"
#include "ui/ToggleStyle.h"
#include "ui/ViewContext.h"

namespace ui {

namespace {

struct ContextMenuModifier {
    View items;

    View body(ViewContext& ctx, View content) const {
        auto presenter = ctx.environment<PopupPresenterKey>();
        const bool enabled = ctx.environment<IsEnabledKey>();
        return secondaryClickTarget(std::move(content), [presenter, enabled, items = items,
                                                         ref = ctx.element().reference()](graphics::CGPoint at) {
            auto alive = ref.lock();
            if (!presenter || !alive || !alive->element) return;
            auto menu = MenuModel::from(items, enabled);
            if (menu.items.empty()) return;
            menu.colorScheme = alive->element->environment().get<ColorSchemeKey>();
            const auto origin = alive->element->frame().origin;
            presenter->presentMenu(std::move(menu), {origin.x + at.x, origin.y + at.y, 0, 0});
        });
    }
};

} // namespace

View View::buttonStyle(AnyButtonStyle style) const {
    return environment<ButtonStyleKey>(std::move(style));
}

View View::toggleStyle(AnyToggleStyle style) const {
    return environment<ToggleStyleKey>(std::move(style));
}

View View::pickerStyle(PickerStyle style) const {
    return environment<PickerStyleKey>(style);
}

View View::controlSize(ControlSize size) const {
    return environment<ControlSizeKey>(size);
}

View View::labelsHidden() const {
    return environment<LabelsHiddenKey>(true);
}

View View::contextMenu(View menuItems) const {
    return modifier(ContextMenuModifier{std::move(menuItems)});
}

} // namespace ui
