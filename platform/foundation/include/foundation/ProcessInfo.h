#pragma once

#include <map>
#include <optional>
#include <string>

namespace foundation {

// What a process knows about itself; here its environment variables.
class ProcessInfo {
public:
    using Environment = std::map<std::string, std::string>;

    // The running process. Its environment is read at each call, so it follows setenv.
    static const ProcessInfo& processInfo();
    // A process info over a fixed environment (for callers that test what they read from it).
    explicit ProcessInfo(Environment environment)
        : environment_(std::move(environment)) {}

    Environment environment() const;

private:
    ProcessInfo() = default;
    std::optional<Environment> environment_; // none: the running process's
};

} // namespace foundation
