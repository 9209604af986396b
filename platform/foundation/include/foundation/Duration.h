#pragma once

#include <chrono>
#include <concepts>
#include <cstdint>
#include <ratio>

namespace foundation {

// A span of time as whole seconds and attoseconds (10^-18 s). Made from a std::chrono
// duration, the two parts share its sign and the attoseconds stay below one second.
struct Duration {
    std::int64_t seconds = 0;
    std::int64_t attoseconds = 0;

    constexpr Duration() = default;
    constexpr Duration(std::int64_t seconds, std::int64_t attoseconds)
        : seconds(seconds)
        , attoseconds(attoseconds) {}
    template <std::integral Rep, class Period>
    constexpr Duration(std::chrono::duration<Rep, Period> duration)
        : seconds(std::chrono::duration_cast<std::chrono::seconds>(duration).count())
        , attoseconds(std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::atto>>(
                          duration - std::chrono::duration_cast<std::chrono::seconds>(duration))
                          .count()) {}

    bool operator==(const Duration&) const = default;
};

} // namespace foundation
