#pragma once

#include "graphics/CGRect.h"
#include "ui/Color.h"
#include "ui/MenuModel.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ui {

// A request for the colour panel: the colour to start from, whether opacity can be changed,
// and what to call with each colour the user picks.
struct ColorPanelRequest {
    Color initial;
    bool supportsOpacity = true;
    std::function<void(const Color&)> picked;
};

// Shows what controls pop up over a window: menus (Menu, context menus, menu-style pickers)
// and the colour panel. The host provides one through the environment: a window shows real
// pop-ups, a test host records them. Entries run their actions after the menu has closed.
class PopupPresenter {
public:
    virtual ~PopupPresenter() = default;
    // `anchor` is in the root view's coordinates: a pop-up button's frame, or a point (a rect
    // of zero size) for a context menu.
    virtual void presentMenu(MenuModel menu, const graphics::CGRect& anchor) = 0;
    virtual void presentColorPanel(ColorPanelRequest request) = 0;
};

// The presenter the environment hands to controls.
struct PopupPresenterKey {
    using Value = std::shared_ptr<PopupPresenter>;
    static Value defaultValue() { return nullptr; }
};

// A presenter that shows nothing and keeps what it was asked to show, for tests: the open menu
// can be read and an entry chosen, the colour panel's request read and a colour picked.
class RecordingPopupPresenter final : public PopupPresenter {
public:
    void presentMenu(MenuModel menu, const graphics::CGRect& anchor) override;
    void presentColorPanel(ColorPanelRequest request) override;

    // The menu shown last and not yet closed.
    const std::optional<MenuModel>& menu() const { return menu_; }
    const graphics::CGRect& menuAnchor() const { return anchor_; }
    int menusPresented() const { return menusPresented_; }
    // Closes the menu and runs the enabled entry titled `title` (in a submenu too); false when
    // no menu is open or it has no such enabled entry.
    bool choose(std::string_view title);
    void dismissMenu() { menu_.reset(); }

    const std::optional<ColorPanelRequest>& colorPanel() const { return colorPanel_; }
    // Picks `color` in the open colour panel, which stays open; false when none is open.
    bool pickColor(const Color& color);
    void closeColorPanel() { colorPanel_.reset(); }

private:
    std::optional<MenuModel> menu_;
    graphics::CGRect anchor_;
    int menusPresented_ = 0;
    std::optional<ColorPanelRequest> colorPanel_;
};

} // namespace ui
