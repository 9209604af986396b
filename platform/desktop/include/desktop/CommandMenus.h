#pragma once

#include "ui/Commands.h"

#include <QObject>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace desktop {

// The menus of the program made from command groups: an application menu (app info, app
// settings, app termination), File (new item), Edit (undo/redo, pasteboard) and Window
// (window size, window arrangement), the placements of a menu set apart by separators. A
// group placed before or after a placement joins its standard items; replacing groups stand
// in their place. Titles are shown verbatim (an '&' is no mnemonic), shortcuts map Command to
// Ctrl and work from every window the actions are attached to, and a disabled item does
// nothing, whichever way it is triggered. Main thread only.
class CommandMenus {
public:
    using StandardItems = std::map<ui::CommandGroupPlacement, std::vector<ui::CommandItemDescription>>;

    explicit CommandMenus(std::string applicationName);
    ~CommandMenus();
    CommandMenus(const CommandMenus&) = delete;
    CommandMenus& operator=(const CommandMenus&) = delete;

    // Brings the menus in line with the standard items and the groups; actions are reused in
    // place, so open menus and shortcuts stay as they are.
    void update(const StandardItems& standard, const std::vector<ui::CommandGroupDescription>& groups);

    // The menus that hold items, in menu bar order.
    std::vector<QMenu*> menus() const;
    // The items of one placement as shown, in order.
    std::vector<ui::CommandItemDescription> items(ui::CommandGroupPlacement placement) const;
    // The action of the first item with this title, or null.
    QAction* action(std::string_view title) const;
    // Every item's action, for attaching shortcuts to a window without a menu bar.
    std::vector<QAction*> actions() const;

    void attach(QMenuBar* bar) const;

private:
    struct Menu;
    void trigger(std::size_t menu, std::size_t entry);

    std::string applicationName_;
    std::unique_ptr<QObject> owner_; // parent of the menus and actions
    std::vector<std::unique_ptr<Menu>> menus_;
};

} // namespace desktop
