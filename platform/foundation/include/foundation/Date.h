#pragma once

#include <compare>
#include <cstddef>
#include <functional>

namespace foundation {

using TimeInterval = double;

// A point in time: seconds since 2001-01-01T00:00:00Z. Now is read from Clock::current(),
// so tests that install a manual clock control it.
class Date {
public:
    // Seconds between the Unix epoch and the reference date.
    static constexpr TimeInterval timeIntervalBetween1970AndReferenceDate = 978307200.0;

    constexpr Date() = default;
    constexpr explicit Date(TimeInterval sinceReferenceDate)
        : seconds_(sinceReferenceDate) {}

    static Date now();
    static constexpr Date fromTimeIntervalSince1970(TimeInterval s) {
        return Date(s - timeIntervalBetween1970AndReferenceDate);
    }
    static constexpr Date distantPast() { return Date(-63114076800.0); }
    static constexpr Date distantFuture() { return Date(63113904000.0); }

    constexpr TimeInterval timeIntervalSinceReferenceDate() const { return seconds_; }
    constexpr TimeInterval timeIntervalSince1970() const {
        return seconds_ + timeIntervalBetween1970AndReferenceDate;
    }
    constexpr TimeInterval timeIntervalSince(Date other) const { return seconds_ - other.seconds_; }
    TimeInterval timeIntervalSinceNow() const;
    constexpr Date addingTimeInterval(TimeInterval dt) const { return Date(seconds_ + dt); }

    constexpr Date operator+(TimeInterval dt) const { return addingTimeInterval(dt); }
    constexpr Date operator-(TimeInterval dt) const { return addingTimeInterval(-dt); }
    constexpr TimeInterval operator-(Date other) const { return timeIntervalSince(other); }

    constexpr bool operator==(const Date&) const = default;
    constexpr auto operator<=>(const Date&) const = default;

private:
    TimeInterval seconds_ = 0;
};

} // namespace foundation

template <> struct std::hash<foundation::Date> {
    std::size_t operator()(const foundation::Date& d) const noexcept {
        return std::hash<double>{}(d.timeIntervalSinceReferenceDate());
    }
};
