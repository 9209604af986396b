#pragma once

#include "foundation/Date.h"

#include <cmath>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace foundation {

// Raw bytes.
using Data = std::vector<std::uint8_t>;

// A property-list value: what a suite stores and what a plist file holds. A value semantic type
// with deep equality; copies are cheap (containers are shared until one copy changes).
//
// Numbers keep the kind they were made with (Boolean, signed integer, unsigned integer, real),
// but read the way the platform's number objects do:
// - `number<T>()` gives a value of any arithmetic T only when the conversion is exact:
//   integer 3 reads as int8 3 and as double 3.0; double 3.0 reads as int 3; double 3.5, NaN and
//   infinity never read as an integer; 300 does not read as int8 or uint8; -1 never reads as an
//   unsigned type; 2^53 + 1 does not read as double (it would round); double 0.1 does not read
//   as float (it would round), while 0.5 does.
// - A Boolean reads as the number 0 or 1 of any numeric type (true as double is 1.0).
// - `boolValue()` reads a Boolean, and a number that is exactly 0 or 1 (integer or real), as a
//   Boolean; 2, -1 and 0.5 do not read as Booleans.
// - Text never reads as a number or a Boolean, not even "1" or "true".
// - Equality: a Boolean equals only a Boolean; integers, unsigned integers and reals are equal
//   when they are the same number (integer 1 == unsigned 1 == real 1.0; NaN equals nothing).
//
// `absent` stands for "no value" (a missing key); `null` is an explicit null, which no plist
// file can hold.
class PropertyList {
public:
    enum class Kind { absent, null, boolean, integer, unsignedInteger, real, string, data, date, array, dictionary };

    using Array = std::vector<PropertyList>;
    using Dictionary = std::map<std::string, PropertyList, std::less<>>;

    PropertyList() noexcept = default;
    static PropertyList null();

    PropertyList(bool value);
    template <std::signed_integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) PropertyList(T value)
        : storage_(std::int64_t(value)) {}
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>) PropertyList(T value)
        : storage_(std::uint64_t(value)) {}
    PropertyList(double value);
    PropertyList(float value);
    PropertyList(std::string value);
    PropertyList(std::string_view value);
    PropertyList(const char* value); // nullptr gives absent
    PropertyList(Data value);
    PropertyList(Date value);
    PropertyList(Array value);
    PropertyList(Dictionary value);

    Kind kind() const;
    bool isAbsent() const { return kind() == Kind::absent; }
    bool isNull() const { return kind() == Kind::null; }
    // Boolean, integer, unsigned integer or real.
    bool isNumber() const;

    // Exact kinds: a pointer to the held value, or nullptr for any other kind.
    const std::string* string() const;
    const Data* data() const;
    const Array* array() const;
    const Dictionary* dictionary() const;
    std::optional<Date> date() const;

    // The number rules above.
    std::optional<bool> boolValue() const;
    template <class T>
    requires std::is_arithmetic_v<T> std::optional<T> number() const {
        if constexpr (std::same_as<T, bool>) {
            return boolValue();
        } else if constexpr (std::is_integral_v<T>) {
            if (auto v = exactInt128()) {
                if (*v < Int128(std::numeric_limits<T>::min()) || *v > Int128(std::numeric_limits<T>::max()))
                    return std::nullopt;
                return T(*v);
            }
            return std::nullopt;
        } else {
            const auto* d = std::get_if<double>(&storage_);
            if (d) {
                if (std::isnan(*d)) return T(*d);
                const T narrowed = T(*d);
                if (static_cast<double>(narrowed) != *d) return std::nullopt;
                return narrowed;
            }
            if (auto v = exactInt128()) {
                // |v| < 2^64, so the rounded value always converts back to Int128.
                const T converted = T(*v);
                if (Int128(converted) != *v) return std::nullopt;
                return converted;
            }
            return std::nullopt;
        }
    }

    // The element of a dictionary, or absent when this is no dictionary or has no such key.
    const PropertyList& operator[](std::string_view key) const;

    bool operator==(const PropertyList& other) const;

    // A short readable form for logs and test failures, e.g. {"a": 1, "b": [true, "x"]}.
    std::string description() const;

private:
    __extension__ typedef __int128 Int128; // holds every int64 and uint64 exactly
    struct Null {
        bool operator==(const Null&) const = default;
    };
    using Storage = std::variant<std::monostate, Null, bool, std::int64_t, std::uint64_t, double,
                                 std::shared_ptr<const std::string>, std::shared_ptr<const Data>, Date,
                                 std::shared_ptr<const Array>, std::shared_ptr<const Dictionary>>;

    // The value as a whole number when it is one exactly (Booleans as 0/1).
    std::optional<Int128> exactInt128() const;

    Storage storage_;
};

} // namespace foundation
