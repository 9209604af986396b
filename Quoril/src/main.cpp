#include "Views/QuorilApp.h"

#include "desktop/RunApp.h"
#include "foundation/Bundle.h"

#include <fmt/format.h>

#include <cstdlib>
#include <cstring>

namespace {

// Whether Qt has somewhere to show the window; without, it would stop the program with an abort.
bool hasDisplay() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0 && std::strncmp(platform, "wayland", 7) != 0)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

int main(int argc, char** argv) {
    const auto& bundle = foundation::Bundle::main();
    // Without its bundle the program has none of its resources.
    if (!bundle->bundleIdentifier()) {
        fmt::print(stderr, "quoril: no Info.plist with a bundle identifier in {}\n", bundle->bundlePath().string());
        return 1;
    }
    if (!hasDisplay()) {
        fmt::print(stderr, "quoril: no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return 1;
    }
    return desktop::runApp<quoril::QuorilApp>(argc, argv);
}
