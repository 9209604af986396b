#pragma once

#include <string_view>

namespace ViewKit::detail {

// Stops the program with a fatal error naming `operation` unless called on the main thread,
// which runs the main actor: the toolkit's views and presentation state live there.
void requireMainActor(std::string_view operation);

} // namespace ViewKit::detail
