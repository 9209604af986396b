#pragma once

#include "desktop/RunningApplication.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The files by which running programs announce themselves. Each program keeps one file in the
// folder, named `<pid>-<random>`, holding its process id and bundle identifier, and holds an
// exclusive flock on it while it runs: the kernel drops the lock when the program ends however
// it ends, so a lock that can be taken marks a program that is gone. The file is prepared under
// a name starting with '.' and renamed once locked, so a watcher never sees an unlocked
// announcement of a live program.
namespace desktop::detail {

// $XDG_RUNTIME_DIR/quoril/running; empty when XDG_RUNTIME_DIR is unset or not absolute.
std::filesystem::path announcementsFolder();

std::string announcementText(const RunningApplication& application);
// nullopt unless the text is a process id line, optionally followed by a bundle identifier line.
std::optional<RunningApplication> parseAnnouncement(std::string_view text);

} // namespace desktop::detail
