#pragma once

#include "ui/Commands.h"
#include "ui/View.h"

namespace ui {

// Items put before or after the standard items of a placement, or in their place.
class CommandGroup : public View {
public:
    static CommandGroup before(CommandGroupPlacement placement, View content);
    static CommandGroup after(CommandGroupPlacement placement, View content);
    static CommandGroup replacing(CommandGroupPlacement placement, View content);

private:
    CommandGroup(CommandGroupPlacement placement, CommandGroupDescription::Position position, View content);
};

} // namespace ui
