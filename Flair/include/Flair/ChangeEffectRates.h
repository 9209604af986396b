#pragma once

#include <numbers>

// The speeds of the simulated change effects, named in AnyChangeEffect as ShakeRate,
// WiggleRate and SpinRate.
namespace Flair::detail {

// A motion that dies out over a phase length, in seconds.
template <class Tag> class PhaseLengthRate {
public:
    static PhaseLengthRate default_() { return PhaseLengthRate(0.8); }
    static PhaseLengthRate fast() { return PhaseLengthRate(0.3); }
    static PhaseLengthRate phaseLength(double seconds) { return PhaseLengthRate(seconds); }

    // The phase length.
    double seconds() const { return seconds_; }

    bool operator==(const PhaseLengthRate&) const = default;

private:
    explicit PhaseLengthRate(double seconds)
        : seconds_(seconds) {}
    double seconds_;
};

struct ShakeRateTag;
struct WiggleRateTag;

// A spin's angular speeds, in radians per second: the first kick's, the most kicks can reach,
// and what each kick adds to a spin still turning.
class SpinRate {
public:
    static SpinRate velocity(double initial, double maximum, double additional) {
        return SpinRate(initial, maximum, additional);
    }
    static SpinRate default_() { return SpinRate(2 * pi, 4 * pi, 2 * pi); }
    static SpinRate fast() { return SpinRate(5 * pi, 8 * pi, 5 * pi); }

    double initial() const { return initial_; }
    double maximum() const { return maximum_; }
    double additional() const { return additional_; }

    bool operator==(const SpinRate&) const = default;

private:
    static constexpr double pi = std::numbers::pi;
    SpinRate(double initial, double maximum, double additional)
        : initial_(initial)
        , maximum_(maximum)
        , additional_(additional) {}
    double initial_;
    double maximum_;
    double additional_;
};

} // namespace Flair::detail
