#include "Views/MainCommands.h"

#include "Views/AppUpdatesView.h"
#include "Views/Utilities.h"

#include "ui/CommandGroup.h"
#include "ui/CommandItem.h"
#include "ui/Group.h"
#include "updater/SPUUpdater.h"

namespace quoril {

ui::View MainCommands::body(ui::ViewContext& ctx) const {
    auto newItemMenuItemDisabled = ctx.state<bool>("newItemMenuItemDisabled", false);
    auto burnCompletedItemsMenuItemDisabled = ctx.state<bool>("burnCompletedItemsMenuItemDisabled", false);
    const auto commands = commandManager;

    // A new view model, with a new observation of the updater, each time this content is built.
    ui::View updates(AppUpdatesView{std::make_shared<AppUpdatesViewModel>(*updater), updater});

    ui::View newGoal =
        ui::CommandItem(Utilities::newItemTitle(), [commands] { commands->newItem.send(reactive::Void{}); })
            .keyboardShortcut(ui::KeyEquivalent(U'n'))
            .disabled(newItemMenuItemDisabled.value())
            .onReceive(commands->newItemMenuItemDisabled,
                       [newItemMenuItemDisabled](bool disabled) { newItemMenuItemDisabled.set(disabled); });
    ui::View burn = ui::CommandItem(Utilities::burnCompletedItemsTitle(),
                                    [commands] { commands->burnCompletedItems.send(reactive::Void{}); })
                        .keyboardShortcut(ui::KeyEquivalent(U'b'))
                        .disabled(burnCompletedItemsMenuItemDisabled.value())
                        .onReceive(commands->burnCompletedItemsMenuItemDisabled,
                                   [burnCompletedItemsMenuItemDisabled](bool disabled) {
                                       burnCompletedItemsMenuItemDisabled.set(disabled);
                                   });

    return ui::Group({ui::CommandGroup::after(ui::CommandGroupPlacement::appInfo, updates),
                      ui::CommandGroup::replacing(ui::CommandGroupPlacement::newItem, ui::Group({newGoal, burn}))});
}

} // namespace quoril
