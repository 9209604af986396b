#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <variant>

namespace foundation {

class KeyedArchiver;
class KeyedUnarchiver;

// A number object: an integer, a float, a double or a Boolean, archivable as "NSNumber", read
// back through any of the getters.
class NSNumber {
public:
    explicit NSNumber(std::int64_t value)
        : value_(value) {}
    explicit NSNumber(int value)
        : value_(std::int64_t(value)) {}
    explicit NSNumber(float value)
        : value_(value) {}
    explicit NSNumber(double value)
        : value_(value) {}
    explicit NSNumber(bool value)
        : value_(value) {}

    // Toward zero, saturating at the ends of the range; NaN gives 0.
    std::int64_t integerValue() const;
    float floatValue() const;
    double doubleValue() const;
    // Whether the number is not zero.
    bool boolValue() const;

    bool isInteger() const { return std::holds_alternative<std::int64_t>(value_); }
    bool isFloat() const { return std::holds_alternative<float>(value_); }
    bool isDouble() const { return std::holds_alternative<double>(value_); }
    bool isBool() const { return std::holds_alternative<bool>(value_); }

    bool operator==(const NSNumber&) const = default;

    static std::string_view className() { return "NSNumber"; }
    void encode(KeyedArchiver& archiver) const;
    // nullptr unless exactly one of the number's fields is there, of its type.
    static std::shared_ptr<NSNumber> decode(KeyedUnarchiver& unarchiver);

private:
    std::variant<std::int64_t, float, double, bool> value_;
};

} // namespace foundation
