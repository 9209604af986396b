#include "Flair/RotatedBoundingSize.h"

#include <cmath>
#include <numbers>

namespace Flair {

graphics::CGSize rotatedBoundingSize(double angle, double w, double h) {
    // Each candidate is exact for two opposite quadrants; the true box is the larger one.
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const graphics::CGSize first{std::abs(c * w + s * h), std::abs(s * w + c * h)};
    const double quarter = angle + std::numbers::pi / 2;
    const double s2 = std::sin(quarter);
    const double c2 = std::cos(quarter);
    const graphics::CGSize second{std::abs(s2 * w + c2 * h), std::abs(c2 * w + s2 * h)};
    if (second.width * second.height < first.width * first.height) return first;
    return second;
}

} // namespace Flair
