#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace desktop {

// A program that announced itself while it runs. Compared by process id and bundle identifier,
// so a launch and a termination of the same program carry equal values.
struct RunningApplication {
    std::optional<std::string> bundleIdentifier;
    pid_t processIdentifier = 0;

    friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

} // namespace desktop
