#include "Flair/AnyChangeEffect.h"

namespace Flair {

AnyChangeEffect AnyChangeEffect::delay(double seconds) const {
    AnyChangeEffect copy = *this;
    copy.delay_ = seconds;
    return copy;
}

} // namespace Flair
