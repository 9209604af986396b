#include "foundation/PreferredLanguages.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace foundation {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameCharacter(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

void add(std::vector<std::string>& languages, std::string_view name) {
    if (std::find(languages.begin(), languages.end(), name) == languages.end()) languages.emplace_back(name);
}

// "de_DE.UTF-8@euro" adds "de_DE" and "de"; "C" adds "en".
void addLocale(std::vector<std::string>& languages, std::string_view locale) {
    const auto end = locale.find_first_of(".@");
    const std::string_view name = locale.substr(0, end);
    if (name == "C" || name == "POSIX") {
        add(languages, "en");
        return;
    }
    if (name.empty() || !isLetter(name.front()) || !std::all_of(name.begin(), name.end(), isNameCharacter))
        return;
    add(languages, name);
    const auto region = name.find_first_of("_-");
    if (region != std::string_view::npos) add(languages, name.substr(0, region));
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::vector<std::string> preferredLanguages() {
    std::vector<std::string> languages;
    std::string_view list = environment("LANGUAGE");
    while (!list.empty()) {
        const auto colon = list.find(':');
        addLocale(languages, list.substr(0, colon));
        list = colon == std::string_view::npos ? std::string_view() : list.substr(colon + 1);
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const std::string_view locale = environment(name);
        if (locale.empty()) continue;
        addLocale(languages, locale);
        break;
    }
    add(languages, "en");
    return languages;
}

} // namespace foundation
