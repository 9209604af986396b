#pragma once

#include "foundation/Random.h"

#include <cstddef>
#include <cstdint>

namespace foundation {

// Fills `data` with `size` bytes from the kernel's generator (getrandom): thread-safe, and with
// no state of ours that a fork would duplicate. A failure other than an interruption stops the
// program.
void fillSystemRandom(std::uint8_t* data, std::size_t size);

// Unpredictable 64-bit values from the kernel, for seeds and identifiers that must differ
// between runs. Stateless: any number of them may be used on any thread.
struct SystemRandomNumberGenerator {
    std::uint64_t next();
};

static_assert(RandomNumberGenerator<SystemRandomNumberGenerator>);

} // namespace foundation
