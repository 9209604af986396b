#include "foundation/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace foundation {

namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); isAbsolute(home)) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        isAbsolute(found->pw_dir))
        return found->pw_dir;
    return {};
}

std::string folder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); isAbsolute(value)) return value;
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + underHome;
}

} // namespace

std::string configurationFolder() {
    return folder("XDG_CONFIG_HOME", "/.config");
}

std::string dataFolder() {
    return folder("XDG_DATA_HOME", "/.local/share");
}

std::string cacheFolder() {
    return folder("XDG_CACHE_HOME", "/.cache");
}

} // namespace foundation
