#include "store/ModelConfiguration.h"

#include "foundation/Bundle.h"

#include <cstdlib>

namespace store {

std::filesystem::path ModelConfiguration::defaultURL() {
    std::filesystem::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        data = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        data = std::filesystem::path(home) / ".local" / "share";
    } else {
        data = std::filesystem::current_path();
    }
    const auto& identifier = foundation::Bundle::main()->bundleIdentifier();
    const std::string folder =
        identifier ? *identifier : foundation::Bundle::programPath().filename().string();
    return data / folder / "default.store";
}

} // namespace store
