#include "Flair/FrameInterval.h"

#include <algorithm>
#include <cmath>

namespace Flair {

double frameInterval(foundation::Date date, foundation::Date previous) {
    const double seconds = date - previous;
    if (std::isnan(seconds)) return 0;
    return std::max(std::min(seconds, maximumFrameInterval), 0.0);
}

} // namespace Flair
