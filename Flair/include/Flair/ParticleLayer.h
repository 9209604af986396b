#pragma once

#include "foundation/AnyHashable.h"

#include <cstddef>
#include <functional>
#include <variant>

namespace Flair {

// Where a particle effect draws: in place (`local`), or in the nearest enclosing particle layer
// declared with a name (see particleLayer); a name that no enclosing layer declared draws in
// place too.
class ParticleLayer {
public:
    struct Named {
        foundation::AnyHashable name;
        bool operator==(const Named&) const = default;
    };
    struct Local {
        bool operator==(const Local&) const = default;
    };
    using Guts = std::variant<Named, Local>;

    static const ParticleLayer local;
    static ParticleLayer named(foundation::AnyHashable name) { return ParticleLayer(Named{std::move(name)}); }

    const Guts& guts() const { return guts_; }
    // The layer's name; null for `local`.
    const foundation::AnyHashable* name() const {
        const auto* named = std::get_if<Named>(&guts_);
        return named ? &named->name : nullptr;
    }

    bool operator==(const ParticleLayer&) const = default;
    // `local` hashes its discriminator 0; a name the discriminator 1, then the name.
    std::size_t hash() const;

private:
    // From the alternatives themselves, never from a Guts: a ParticleLayer converts to an
    // AnyHashable, so a Guts parameter would make copying ask whether it converts to itself.
    explicit ParticleLayer(Named named)
        : guts_(std::move(named)) {}
    explicit ParticleLayer(Local local)
        : guts_(local) {}

    Guts guts_;
};

} // namespace Flair

template <> struct std::hash<Flair::ParticleLayer> {
    std::size_t operator()(const Flair::ParticleLayer& layer) const noexcept { return layer.hash(); }
};
