#pragma once

#include <functional>

namespace Prefs {

// Runs `block` so that the changes this thread makes in it reach no observation, publisher or
// update sequence; other threads' changes are delivered. The suppression ends when the block
// ends, also by an exception, and a nested block ends it for the rest of the enclosing one.
void withoutPropagation(const std::function<void()>& block);

namespace detail {
// Whether the calling thread is inside withoutPropagation().
bool isPropagationSuppressed();
} // namespace detail

} // namespace Prefs
