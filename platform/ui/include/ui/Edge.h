#pragma once

#include "graphics/CGFloat.h"

#include <cstdint>

namespace ui {

using graphics::CGFloat;

enum class Edge { top, leading, bottom, trailing };

// A set of edges (the platform's `Edge.Set`).
struct EdgeSet {
    std::uint8_t bits = 0;

    static constexpr EdgeSet of(Edge edge) { return {std::uint8_t(1u << unsigned(edge))}; }
    static const EdgeSet top, leading, bottom, trailing, horizontal, vertical, all;

    constexpr bool contains(Edge edge) const { return bits & of(edge).bits; }
    constexpr EdgeSet operator|(EdgeSet other) const { return {std::uint8_t(bits | other.bits)}; }
    constexpr bool operator==(const EdgeSet&) const = default;
};

inline constexpr EdgeSet EdgeSet::top = EdgeSet::of(Edge::top);
inline constexpr EdgeSet EdgeSet::leading = EdgeSet::of(Edge::leading);
inline constexpr EdgeSet EdgeSet::bottom = EdgeSet::of(Edge::bottom);
inline constexpr EdgeSet EdgeSet::trailing = EdgeSet::of(Edge::trailing);
inline constexpr EdgeSet EdgeSet::horizontal = EdgeSet::leading | EdgeSet::trailing;
inline constexpr EdgeSet EdgeSet::vertical = EdgeSet::top | EdgeSet::bottom;
inline constexpr EdgeSet EdgeSet::all = EdgeSet::horizontal | EdgeSet::vertical;

// Insets per edge; negative ones grow the view instead.
struct EdgeInsets {
    CGFloat top = 0;
    CGFloat leading = 0;
    CGFloat bottom = 0;
    CGFloat trailing = 0;

    static constexpr EdgeInsets uniform(CGFloat length) { return {length, length, length, length}; }
    static constexpr EdgeInsets on(EdgeSet edges, CGFloat length) {
        return {edges.contains(Edge::top) ? length : 0, edges.contains(Edge::leading) ? length : 0,
                edges.contains(Edge::bottom) ? length : 0, edges.contains(Edge::trailing) ? length : 0};
    }
    constexpr bool operator==(const EdgeInsets&) const = default;
};

} // namespace ui
