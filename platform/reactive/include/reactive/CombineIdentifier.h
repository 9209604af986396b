#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace reactive {

// Identifies a subscription or subscriber: either a fresh unique number, or an object's identity.
class CombineIdentifier {
public:
    // A new identifier, unequal to every other one made this way.
    CombineIdentifier();
    // The identity of `object`.
    explicit CombineIdentifier(const void* object)
        : rawValue_(reinterpret_cast<std::uintptr_t>(object))
        , isObject_(true) {}

    std::uint64_t rawValue() const { return rawValue_; }

    bool operator==(const CombineIdentifier&) const = default;
    auto operator<=>(const CombineIdentifier&) const = default;

private:
    std::uint64_t rawValue_;
    bool isObject_;
};

} // namespace reactive

template <> struct std::hash<reactive::CombineIdentifier> {
    std::size_t operator()(const reactive::CombineIdentifier& id) const noexcept {
        return std::hash<std::uint64_t>{}(id.rawValue());
    }
};
