#pragma once

#include "foundation/KeyValueObserving.h"

#include <cstddef>
#include <functional>
#include <initializer_list>

namespace Prefs {

enum class ObservationOption {
    initial, // one notification at registration
    prior,   // a notification before each change as well as after it
};

// A set of observation options.
class ObservationOptions {
public:
    constexpr ObservationOptions() = default;
    constexpr ObservationOptions(ObservationOption option)
        : bits_(bit(option)) {}
    constexpr ObservationOptions(std::initializer_list<ObservationOption> options) {
        for (auto option : options)
            bits_ |= bit(option);
    }

    constexpr bool contains(ObservationOption option) const { return (bits_ & bit(option)) != 0; }
    constexpr bool isEmpty() const { return bits_ == 0; }
    constexpr void insert(ObservationOption option) { bits_ |= bit(option); }
    constexpr void remove(ObservationOption option) { bits_ &= ~bit(option); }
    constexpr bool operator==(const ObservationOptions&) const = default;
    std::size_t hash() const { return std::hash<unsigned>{}(bits_); }

private:
    static constexpr unsigned bit(ObservationOption option) { return 1u << unsigned(option); }
    unsigned bits_ = 0;
};

// What a registration asks of the suite: always new and old values; `initial` wins over
// `prior`, so a set holding both registers without prior notifications.
constexpr foundation::KeyValueObservingOptions keyValueObservingOptions(ObservationOptions options) {
    using Option = foundation::KeyValueObservingOption;
    const auto base = Option::newValue | Option::oldValue;
    if (options.contains(ObservationOption::initial)) return base | Option::initial;
    if (options.contains(ObservationOption::prior)) return base | Option::prior;
    return base;
}

} // namespace Prefs

template <> struct std::hash<Prefs::ObservationOptions> {
    std::size_t operator()(const Prefs::ObservationOptions& options) const noexcept { return options.hash(); }
};
