#pragma once

namespace Flair {

// `value` inside [lower, upper] unchanged; outside, pulled towards the range with a resistance
// that grows with the distance, never more than the range's width beyond it.
double rubberBand(double lower, double value, double upper, double coefficient);

// The parameter t at which the unit cubic Bezier with control x coordinates x1 and x2 reaches x,
// by nine rounds of bisection at most (close enough is within 1e-7).
double cubicBezierSolve(double x, double x1, double x2);

// The unit cubic Bezier through (x1, y1) and (x2, y2) evaluated at x.
double cubicBezier(double x, double x1, double x2, double y1, double y2);

} // namespace Flair
