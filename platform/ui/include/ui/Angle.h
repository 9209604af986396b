#pragma once

#include <compare>
#include <numbers>

namespace ui {

// A plane angle, kept in radians. The factories and the accessors share names: `Angle::degrees(90)`
// makes one, `angle.degrees()` reads it back.
class Angle {
public:
    constexpr Angle() = default;

    static constexpr Angle radians(double value) { return Angle(value); }
    static constexpr Angle degrees(double value) { return Angle(value * std::numbers::pi / 180); }
    static constexpr Angle zero() { return Angle(); }

    constexpr double radians() const { return radians_; }
    constexpr double degrees() const { return radians_ * 180 / std::numbers::pi; }

    constexpr Angle operator-() const { return Angle(-radians_); }
    constexpr Angle& operator+=(Angle other) {
        radians_ += other.radians_;
        return *this;
    }
    constexpr Angle& operator-=(Angle other) {
        radians_ -= other.radians_;
        return *this;
    }
    constexpr Angle& operator*=(double factor) {
        radians_ *= factor;
        return *this;
    }
    constexpr Angle& operator/=(double divisor) {
        radians_ /= divisor;
        return *this;
    }
    friend constexpr Angle operator+(Angle a, Angle b) { return a += b; }
    friend constexpr Angle operator-(Angle a, Angle b) { return a -= b; }
    friend constexpr Angle operator*(Angle a, double factor) { return a *= factor; }
    friend constexpr Angle operator*(double factor, Angle a) { return a *= factor; }
    friend constexpr Angle operator/(Angle a, double divisor) { return a /= divisor; }

    constexpr auto operator<=>(const Angle&) const = default;

private:
    constexpr explicit Angle(double radians)
        : radians_(radians) {}

    double radians_ = 0;
};

} // namespace ui
