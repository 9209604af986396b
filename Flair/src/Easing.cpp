#include "Flair/Easing.h"

#include <algorithm>
#include <cmath>

namespace Flair {

namespace {

// One coordinate of the unit cubic Bezier with control coordinates c1 and c2.
double bezier(double t, double c1, double c2) {
    return t * (3 * c1 + t * ((3 * c2 - 6 * c1) + (3 * c1 + 1 - 3 * c2) * t));
}

} // namespace

double rubberBand(double lower, double value, double upper, double coefficient) {
    const double clamped = std::max(lower, std::min(value, upper));
    if (clamped - value == 0) return value;
    const double width = upper - lower;
    const double f = 1 - 1 / (std::abs(clamped - value) * coefficient / width + 1);
    return clamped > value ? clamped - width * f : clamped + width * f;
}

double cubicBezierSolve(double x, double x1, double x2) {
    double low = 0;
    double high = 1;
    double t = 0.5;
    for (int trial = 0; trial < 9; ++trial) {
        const double f = bezier(t, x1, x2) - x;
        if (std::abs(f) <= 0.0000001) return t;
        if (f > 0)
            high = t;
        else
            low = t;
        t = (low + high) / 2;
    }
    return t;
}

double cubicBezier(double x, double x1, double x2, double y1, double y2) {
    return bezier(cubicBezierSolve(x, x1, x2), y1, y2);
}

} // namespace Flair
