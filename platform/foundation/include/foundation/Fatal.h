#pragma once

#include <string_view>

namespace foundation {

// A programmer error: prints "Fatal error: <msg>" on standard error and aborts.
[[noreturn]] void fatal(std::string_view msg);

} // namespace foundation
