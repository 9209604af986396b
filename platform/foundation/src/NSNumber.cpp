#include "foundation/NSNumber.h"

#include "foundation/KeyedArchiver.h"
#include "foundation/KeyedUnarchiver.h"

#include <cmath>
#include <limits>

namespace foundation {

namespace {

// One field a kind, so the archive says which kind the number was.
constexpr std::string_view integerKey = "NS.integer";
constexpr std::string_view floatKey = "NS.float";
constexpr std::string_view doubleKey = "NS.double";
constexpr std::string_view boolKey = "NS.bool";

std::int64_t truncated(double value) {
    if (std::isnan(value)) return 0;
    // 2^63 is exact as a double; everything at or beyond it saturates.
    constexpr double limit = 9223372036854775808.0;
    if (value >= limit) return std::numeric_limits<std::int64_t>::max();
    if (value <= -limit) return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(value);
}

} // namespace

double NSNumber::doubleValue() const {
    return std::visit([](auto value) { return double(value); }, value_);
}

float NSNumber::floatValue() const {
    return std::visit([](auto value) { return float(value); }, value_);
}

std::int64_t NSNumber::integerValue() const {
    if (const auto* integer = std::get_if<std::int64_t>(&value_)) return *integer;
    if (const auto* flag = std::get_if<bool>(&value_)) return *flag ? 1 : 0;
    return truncated(doubleValue());
}

bool NSNumber::boolValue() const {
    if (const auto* integer = std::get_if<std::int64_t>(&value_)) return *integer != 0;
    return doubleValue() != 0;
}

void NSNumber::encode(KeyedArchiver& archiver) const {
    std::visit(
        [&](auto value) {
            using T = decltype(value);
            if constexpr (std::is_same_v<T, std::int64_t>)
                archiver.encodeInt64(integerKey, value);
            else if constexpr (std::is_same_v<T, float>)
                archiver.encodeDouble(floatKey, double(value));
            else if constexpr (std::is_same_v<T, double>)
                archiver.encodeDouble(doubleKey, value);
            else
                archiver.encodeBool(boolKey, value);
        },
        value_);
}

std::shared_ptr<NSNumber> NSNumber::decode(KeyedUnarchiver& unarchiver) {
    const auto integer = unarchiver.decodeInt64(integerKey);
    const auto single = unarchiver.decodeDouble(floatKey);
    const auto dual = unarchiver.decodeDouble(doubleKey);
    const auto flag = unarchiver.decodeBool(boolKey);
    if (int(integer.has_value()) + int(single.has_value()) + int(dual.has_value()) + int(flag.has_value()) !=
        1)
        return nullptr;
    if (integer) return std::make_shared<NSNumber>(*integer);
    if (single) return std::make_shared<NSNumber>(float(*single));
    if (dual) return std::make_shared<NSNumber>(*dual);
    return std::make_shared<NSNumber>(*flag);
}

} // namespace foundation
