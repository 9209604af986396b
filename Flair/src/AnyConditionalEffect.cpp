#include "Flair/AnyConditionalEffect.h"

#include <utility>

namespace Flair {

AnyConditionalEffect AnyConditionalEffect::repeat(AnyChangeEffect effect, double interval) {
    return AnyConditionalEffect(Repeating{std::move(effect), interval});
}

AnyConditionalEffect AnyConditionalEffect::repeat(AnyChangeEffect effect, foundation::Duration interval) {
    const double seconds = static_cast<double>(interval.seconds);
    const double fraction = static_cast<double>(interval.attoseconds) / 1e18;
    return repeat(std::move(effect), seconds + fraction);
}

} // namespace Flair
