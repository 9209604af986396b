#include "foundation/ProcessInfo.h"

#include <string_view>

extern char** environ;

namespace foundation {

const ProcessInfo& ProcessInfo::processInfo() {
    static const ProcessInfo running;
    return running;
}

ProcessInfo::Environment ProcessInfo::environment() const {
    if (environment_) return *environment_;
    Environment variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const auto equals = text.find('=');
        // An entry without '=' names no variable; the first of two equal names wins, as getenv reads.
        if (equals == std::string_view::npos || equals == 0) continue;
        variables.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return variables;
}

} // namespace foundation
