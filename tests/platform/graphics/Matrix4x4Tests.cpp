#include "graphics/Matrix4x4.h"
#include "graphics/Quaternion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <random>

using graphics::Matrix4x4;
using graphics::Quaternion;

namespace {

// A turn of `degrees` about a unit axis.
Quaternion turn(double degrees, double x, double y, double z) {
    const double half = degrees * std::numbers::pi / 360;
    return {x * std::sin(half), y * std::sin(half), z * std::sin(half), std::cos(half)};
}

void expectNear(const Matrix4x4::Vector& actual, const Matrix4x4::Vector& expected) {
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-12) << "component " << i;
}

} // namespace

TEST(QuaternionTest, TheHamiltonProductComposesTurnsInOrder) {
    const Quaternion q = turn(-85, 1, 0, 0) * turn(45, 0, 1, 0) * turn(10, 0, 0, 1);
    EXPECT_NEAR(q.ix, -0.5971983785, 1e-10);
    EXPECT_NEAR(q.iy, 0.3354696534, 1e-10);
    EXPECT_NEAR(q.iz, -0.1981867591, 1e-10);
    EXPECT_NEAR(q.r, 0.7010964391, 1e-10);
    // i · j = k, j · i = −k.
    EXPECT_EQ((Quaternion{1, 0, 0, 0} * Quaternion{0, 1, 0, 0}), (Quaternion{0, 0, 1, 0}));
    EXPECT_EQ((Quaternion{0, 1, 0, 0} * Quaternion{1, 0, 0, 0}), (Quaternion{0, 0, -1, 0}));
    // The product's matrix is the product of the matrices: the right one turns first.
    const Quaternion a = turn(30, 0, 0, 1), b = turn(90, 1, 0, 0);
    const Matrix4x4::Vector p{0.3, -1.2, 2.5, 1};
    expectNear(Matrix4x4::rotation(a * b) * p, Matrix4x4::rotation(a) * (Matrix4x4::rotation(b) * p));
}

TEST(Matrix4x4Test, BuildsTransformsOfColumnVectors) {
    const Matrix4x4::Vector p{1, 2, 3, 1};
    expectNear(Matrix4x4::translation(10, 20, 30) * p, {11, 22, 33, 1});
    // A quarter turn about z takes x to y; directions (w = 0) do not move with translations.
    expectNear(Matrix4x4::rotation(turn(90, 0, 0, 1)) * Matrix4x4::Vector{1, 0, 0, 0}, {0, 1, 0, 0});
    expectNear(Matrix4x4::rotation(turn(90, 1, 0, 0)) * Matrix4x4::Vector{0, 1, 0, 0}, {0, 0, 1, 0});
    expectNear(Matrix4x4::translation(5, 5, 5) * Matrix4x4::Vector{0, 0, 1, 0}, {0, 0, 1, 0});
    // The product applies the right-hand matrix first.
    expectNear((Matrix4x4::translation(10, 0, 0) * Matrix4x4::scale(2, 2, 2)) * p, {12, 4, 6, 1});
}

TEST(Matrix4x4Test, AMatrixTimesItsInverseIsTheIdentity) {
    std::mt19937_64 engine(7);
    std::uniform_real_distribution<double> value(-3, 3);
    for (int round = 0; round < 20; ++round) {
        Matrix4x4 a;
        for (auto& column : a.m)
            for (double& entry : column)
                entry = value(engine);
        const auto inverse = a.inverted();
        ASSERT_TRUE(inverse);
        for (const Matrix4x4& product : {a * *inverse, *inverse * a})
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 4; ++r)
                    EXPECT_NEAR(product.m[c][r], c == r ? 1 : 0, 1e-9) << round;
    }
    const auto translation = Matrix4x4::translation(4, -5, 6).inverted();
    ASSERT_TRUE(translation);
    EXPECT_EQ(*translation, Matrix4x4::translation(-4, 5, -6));
}

TEST(Matrix4x4Test, ASingularOrNonFiniteMatrixHasNoInverse) {
    Matrix4x4 repeated;
    repeated.m[1][0] = 1; // column 1 equals column 0 below, so the columns are dependent
    repeated.m[1][1] = 0;
    EXPECT_FALSE(repeated.inverted());
    EXPECT_FALSE(Matrix4x4::translation(std::numeric_limits<double>::infinity(), 0, 0).inverted());
}
