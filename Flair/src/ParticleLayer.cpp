#include "Flair/ParticleLayer.h"

namespace Flair {

const ParticleLayer ParticleLayer::local(ParticleLayer::Local{});

std::size_t ParticleLayer::hash() const {
    const auto* named = std::get_if<Named>(&guts_);
    const std::size_t discriminator = std::hash<std::size_t>{}(named ? 1 : 0);
    if (!named) return discriminator;
    return discriminator ^
           (named->name.hash() + 0x9e3779b97f4a7c15ull + (discriminator << 6) + (discriminator >> 2));
}

} // namespace Flair
