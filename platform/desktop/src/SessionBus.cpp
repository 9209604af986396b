#include "desktop/SessionBus.h"

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace desktop {

namespace {

constexpr std::string_view launcherName = "dbus-launch";

bool launcherIn(std::string_view searchPath) {
    while (!searchPath.empty()) {
        const auto end = searchPath.find(':');
        const auto folder = searchPath.substr(0, end);
        searchPath = end == std::string_view::npos ? std::string_view{} : searchPath.substr(end + 1);
        if (folder.empty()) continue;
        const auto candidate = std::filesystem::path(folder) / launcherName;
        if (::access(candidate.c_str(), X_OK) == 0) return true;
    }
    return false;
}

// D-Bus addresses escape every byte but a few plain ones as %XX.
std::string escapedValue(std::string_view value) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string escaped;
    for (const unsigned char c : value) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           c == '-' || c == '_' || c == '/' || c == '.' || c == '\\' || c == '*';
        if (plain) {
            escaped += char(c);
        } else {
            escaped += '%';
            escaped += hex[c >> 4];
            escaped += hex[c & 0xf];
        }
    }
    return escaped;
}

} // namespace

std::optional<std::string> unreachableSessionBusAddress(std::string_view address,
                                                        std::string_view runtimeDirectory,
                                                        std::string_view searchPath) {
    if (!address.empty() || runtimeDirectory.empty()) return std::nullopt;
    const auto socket = std::filesystem::path(runtimeDirectory) / "bus";
    std::error_code error;
    // Whatever is there, the library's own search decides about it.
    if (std::filesystem::exists(std::filesystem::symlink_status(socket, error))) return std::nullopt;
    if (launcherIn(searchPath)) return std::nullopt;
    return "unix:path=" + escapedValue(socket.string());
}

void avoidSessionBusAutolaunch() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* path = std::getenv("PATH");
    // The library runs the launcher from its own folder before it searches PATH.
    const std::string searchPath = std::string(path ? path : "") + ":/usr/bin";
    if (const auto fallback =
            unreachableSessionBusAddress(address ? address : "", runtime ? runtime : "", searchPath))
        ::setenv("DBUS_SESSION_BUS_ADDRESS", fallback->c_str(), 1);
}

} // namespace desktop
