#pragma once

#include "desktop/ApplicationDelegate.h"

namespace quoril {

// Closing the last window ends the program.
class AppDelegate : public desktop::ApplicationDelegate {
public:
    bool applicationShouldTerminateAfterLastWindowClosed(desktop::Application&) override { return true; }
};

} // namespace quoril
