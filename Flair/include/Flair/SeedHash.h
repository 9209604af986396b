#pragma once

#include "foundation/UUID.h"

#include <cstdint>

namespace Flair {

// The seed of every seeded drawing of the library, so that the same identifier gives the same
// picture on every run and machine. For an identifier: its std::hash, a fixed mix of its bytes.
// For a number (a size or a transition's own seed): the splitmix64 finaliser of its IEEE bits,
// with −0 taken as +0.
std::uint64_t seedHash(const foundation::UUID& id);
std::uint64_t seedHash(double value);

} // namespace Flair
