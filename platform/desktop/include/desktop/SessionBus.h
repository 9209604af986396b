#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace desktop {

// With no session bus address given, the D-Bus library looks for the bus's socket in the
// runtime folder and, failing that, forks to run an auto-launcher at the first connection (the
// desktop-menu check, the accessibility bridge), which stalls a start-up for milliseconds even
// where no launcher is installed. When neither the socket nor a launcher in `searchPath` (a
// PATH-style list) is there, this gives the socket's address, at which a connection fails at
// once, as the search would; nothing when an address is given, the socket exists, a launcher
// could start a bus, or there is no runtime folder.
std::optional<std::string> unreachableSessionBusAddress(std::string_view address,
                                                        std::string_view runtimeDirectory,
                                                        std::string_view searchPath);

// Sets DBUS_SESSION_BUS_ADDRESS to the above for this process when it applies. Called before
// anything connects.
void avoidSessionBusAutolaunch();

} // namespace desktop
