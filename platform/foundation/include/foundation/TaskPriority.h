#pragma once

#include <compare>
#include <cstdint>

namespace foundation {

// Priorities of tasks and worker-pool jobs; higher runs first. The values are the platform's.
struct TaskPriority {
    std::uint8_t rawValue = 21;

    static constexpr TaskPriority high() { return {25}; }
    static constexpr TaskPriority medium() { return {21}; }
    static constexpr TaskPriority low() { return {17}; }
    static constexpr TaskPriority userInitiated() { return {25}; }
    static constexpr TaskPriority utility() { return {17}; }
    static constexpr TaskPriority background() { return {9}; }

    constexpr bool operator==(const TaskPriority&) const = default;
    constexpr auto operator<=>(const TaskPriority&) const = default;
};

} // namespace foundation
