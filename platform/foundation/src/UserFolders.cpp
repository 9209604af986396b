#include "foundation/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
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

namespace {

// The value of `key` in one line of user-dirs.dirs (KEY="value", shell-quoted), or nullopt.
std::optional<std::string> userDirsValue(const std::string& line, std::string_view key) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) return std::nullopt;
    at += key.size();
    if (at >= line.size() || line[at] != '=') return std::nullopt;
    std::string value = line.substr(at + 1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
        value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::nullopt;
    value = value.substr(1, value.size() - 2);
    std::string unquoted;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        unquoted += value[i];
    }
    return unquoted;
}

} // namespace

std::string userDirsFolder(std::string_view key, std::string_view fallbackName) {
    const std::string home = homeFolder();
    const std::string config = configurationFolder();
    std::optional<std::string> found;
    if (!config.empty()) {
        std::ifstream file(config + "/user-dirs.dirs");
        for (std::string line; std::getline(file, line);)
            if (auto value = userDirsValue(line, key)) found = std::move(value); // the last one wins
    }
    if (found) {
        if (found->starts_with("$HOME/") && !home.empty()) return home + found->substr(5);
        if (*found == "$HOME" && !home.empty()) return home;
        if (found->starts_with("/")) return *found;
    }
    if (home.empty()) return {};
    return home + "/" + std::string(fallbackName);
}

} // namespace foundation
