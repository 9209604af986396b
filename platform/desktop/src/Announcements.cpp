#include "Announcements.h"

#include <charconv>
#include <cstdlib>

namespace desktop::detail {

std::filesystem::path announcementsFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (!runtime || runtime[0] != '/') return {};
    return std::filesystem::path(runtime) / "quoril" / "running";
}

std::string announcementText(const RunningApplication& application) {
    std::string text = std::to_string(application.processIdentifier) + "\n";
    if (application.bundleIdentifier) text += *application.bundleIdentifier + "\n";
    return text;
}

std::optional<RunningApplication> parseAnnouncement(std::string_view text) {
    const auto end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view pidText = text.substr(0, end);
    RunningApplication application;
    const auto [next, error] =
        std::from_chars(pidText.data(), pidText.data() + pidText.size(), application.processIdentifier);
    if (error != std::errc() || next != pidText.data() + pidText.size() || application.processIdentifier <= 0)
        return std::nullopt;
    std::string_view rest = text.substr(end + 1);
    if (const auto line = rest.find('\n'); line != std::string_view::npos) rest = rest.substr(0, line);
    if (!rest.empty()) application.bundleIdentifier = std::string(rest);
    return application;
}

} // namespace desktop::detail
