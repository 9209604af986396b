#include "Flair/SeedHash.h"

#include <bit>
#include <functional>

namespace Flair {

std::uint64_t seedHash(const foundation::UUID& id) {
    return std::hash<foundation::UUID>{}(id);
}

std::uint64_t seedHash(double value) {
    std::uint64_t z = std::bit_cast<std::uint64_t>(value == 0 ? 0.0 : value);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

} // namespace Flair
