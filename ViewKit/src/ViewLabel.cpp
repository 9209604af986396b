#include "ViewKit/ViewLabel.h"

#include "ViewKit/MainActor.h"

#include "foundation/Bundle.h"

namespace ViewKit {

ViewOperation label(ui::LocalizedStringKey key, std::shared_ptr<const foundation::Bundle> bundle) {
    detail::requireMainActor("label");
    return ViewOperation([key = std::move(key), bundle = std::move(bundle)](const ui::View& view) {
        return ui::Label(ui::Text(key, {}, bundle), view);
    });
}

ui::Label label(ui::LocalizedStringKey key, ui::Image image) {
    return ui::Label(ui::Text(std::move(key)), std::move(image));
}

ui::Label label(ui::LocalizedStringKey key, std::shared_ptr<const foundation::Bundle> bundle, ui::Image image) {
    return ui::Label(ui::Text(std::move(key), {}, std::move(bundle)), std::move(image));
}

} // namespace ViewKit
