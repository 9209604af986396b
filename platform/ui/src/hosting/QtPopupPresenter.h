// The pop-ups of a hosting window: Qt menus and the Qt colour dialog.
#pragma once

#include "ui/PopupPresenter.h"

#include <QPointer>
#include <QWidget>

namespace ui::detail {

class QtPopupPresenter final : public PopupPresenter {
public:
    explicit QtPopupPresenter(QWidget* window)
        : window_(window) {}
    void presentMenu(MenuModel menu, const graphics::CGRect& anchor) override;
    void presentColorPanel(ColorPanelRequest request) override;

private:
    QPointer<QWidget> window_;
};

} // namespace ui::detail
