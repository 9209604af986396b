#pragma once

namespace graphics {

// A quaternion ix·i + iy·j + iz·k + r of doubles. Rotations use unit ones; nothing here
// normalises, so callers decide what a zero or unnormalised quaternion means.
struct Quaternion {
    double ix = 0;
    double iy = 0;
    double iz = 0;
    double r = 1;

    static const Quaternion identity;

    // The Hamilton product: `*this` applied after `other` when both are rotations.
    Quaternion operator*(const Quaternion& other) const;
    double lengthSquared() const;

    constexpr bool operator==(const Quaternion&) const = default;
};

inline constexpr Quaternion Quaternion::identity{0, 0, 0, 1};

} // namespace graphics
