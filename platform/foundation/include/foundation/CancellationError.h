#pragma once

#include <exception>

namespace foundation {

// Thrown by Task<>::checkCancellation() and by sleeps of a cancelled task.
class CancellationError : public std::exception {
public:
    const char* what() const noexcept override { return "CancellationError"; }
};

} // namespace foundation
