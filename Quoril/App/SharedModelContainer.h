#pragma once

#include "store/ModelContainer.h"
#include "store/Schema.h"

#include <memory>

namespace quoril {

// Collections and goals, version 1.0.0.
store::Schema quorilSchema();

// The application's container over the default store: its main context gets a new undo
// manager, an empty store gets the default collection (saved, a failed save is let go, and not
// undoable), and the first collection becomes the selection. A store that cannot be opened, counted or fetched
// stops the program with "Could not create ModelContainer: " and the error's description.
std::shared_ptr<store::ModelContainer> makeSharedModelContainer();

} // namespace quoril
