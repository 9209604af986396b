#include "ui/PopupPresenter.h"

#include "ui/Transaction.h"

namespace ui {

void RecordingPopupPresenter::presentMenu(MenuModel menu, const graphics::CGRect& anchor) {
    menu_ = std::move(menu);
    anchor_ = anchor;
    ++menusPresented_;
}

void RecordingPopupPresenter::presentColorPanel(ColorPanelRequest request) {
    colorPanel_ = std::move(request);
}

bool RecordingPopupPresenter::choose(std::string_view title) {
    if (!menu_) return false;
    const MenuItem* item = menu_->find(title);
    if (!item || item->kind != MenuItem::Kind::action || !item->isEnabled) return false;
    auto action = item->action;
    menu_.reset(); // the menu closes before its entry runs, as a real one does
    if (action) withTransaction(Transaction(), action);
    return true;
}

bool RecordingPopupPresenter::pickColor(const Color& color) {
    if (!colorPanel_) return false;
    auto picked = colorPanel_->picked;
    if (picked) withTransaction(Transaction(), [&] { picked(color); });
    return true;
}

} // namespace ui
