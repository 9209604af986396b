#pragma once

#include "reactive/ObservationRegistrar.h"
#include "reactive/PassthroughSubject.h"
#include "reactive/Void.h"

namespace quoril {

// The channels between the menu commands and the goal list. A channel keeps no value: a
// subscriber hears only what is sent after it subscribed. Main thread only.
class CommandManager {
public:
    // The menu asks the list to add a goal.
    const reactive::PassthroughSubject<reactive::Void> newItem;
    // The list tells the menu whether "New Goal" is disabled.
    const reactive::PassthroughSubject<bool> newItemMenuItemDisabled;
    // The menu asks the list to burn its accomplished goals.
    const reactive::PassthroughSubject<reactive::Void> burnCompletedItems;
    // The list tells the menu whether "Burn Accomplished Goals" is disabled.
    const reactive::PassthroughSubject<bool> burnCompletedItemsMenuItemDisabled;

    const reactive::ObservationRegistrar& observationRegistrar() const { return registrar_; }

private:
    reactive::ObservationRegistrar registrar_;
};

} // namespace quoril
