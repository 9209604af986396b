#pragma once

#include <variant>

namespace reactive {

// The empty value: the output of publishers that only signal that something happened.
using Void = std::monostate;

} // namespace reactive
