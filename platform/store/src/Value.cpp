#include "store/Value.h"

namespace store {

namespace {
template <class T> int compareOrdered(const T& a, const T& b) {
    if (a < b) return -1;
    if (b < a) return 1;
    return 0;
}
} // namespace

int compareValues(const Value& a, const Value& b) {
    if (a.index() != b.index()) return a.index() < b.index() ? -1 : 1;
    return std::visit(
        [&](const auto& left) -> int {
            using T = std::decay_t<decltype(left)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0;
            } else {
                return compareOrdered(left, std::get<T>(b));
            }
        },
        a);
}

bool valueFits(const Value& value, AttributeType type, bool isOptional) {
    switch (value.index()) {
    case 0:
        return isOptional;
    case 1:
        return type == AttributeType::boolean;
    case 2:
        return type == AttributeType::integer;
    case 3:
        return type == AttributeType::real;
    case 4:
        return type == AttributeType::text;
    case 5:
        return type == AttributeType::uuid;
    case 6:
        return type == AttributeType::date;
    }
    return false;
}

} // namespace store
