#pragma once

#include "graphics/CGPoint.h"
#include "graphics/ProjectionTransform.h"

#include <gtest/gtest.h>

#include <optional>

namespace flairtest {

inline void expectNear(const graphics::ProjectionTransform& actual,
                       const graphics::ProjectionTransform& expected, double tolerance = 1e-9) {
    const double a[] = {actual.m11, actual.m12, actual.m13, actual.m21, actual.m22,
                        actual.m23, actual.m31, actual.m32, actual.m33};
    const double e[] = {expected.m11, expected.m12, expected.m13, expected.m21, expected.m22,
                        expected.m23, expected.m31, expected.m32, expected.m33};
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a[i], e[i], tolerance) << "entry m" << (i / 3 + 1) << (i % 3 + 1);
}

// Where a point of the view lands.
inline graphics::CGPoint mapped(const graphics::ProjectionTransform& t, graphics::CGPoint p) {
    const std::optional<graphics::CGPoint> result = t.mapInFront(p);
    EXPECT_TRUE(result) << "behind the horizon";
    return result.value_or(graphics::CGPoint{});
}

inline void expectNear(graphics::CGPoint actual, graphics::CGPoint expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
}

} // namespace flairtest
