#pragma once

#include "ui/Animatable.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace ui {

// Any number of values animated together, such as a shader's numeric arguments. Vectors of
// different lengths combine as if the shorter one went on with zeros, so the empty vector is
// the zero and an interpolation between argument lists of different lengths stays defined.
class AnimatableVector {
public:
    AnimatableVector() = default;
    AnimatableVector(std::initializer_list<double> values)
        : values_(values) {}
    explicit AnimatableVector(std::vector<double> values)
        : values_(std::move(values)) {}

    const std::vector<double>& values() const { return values_; }
    std::size_t size() const { return values_.size(); }
    // A missing value reads as 0.
    double operator[](std::size_t index) const { return index < values_.size() ? values_[index] : 0.0; }

    static AnimatableVector zero() { return {}; }
    void scale(double by) {
        for (double& v : values_)
            v *= by;
    }
    double magnitudeSquared() const {
        double sum = 0;
        for (double v : values_)
            sum += v * v;
        return sum;
    }

    AnimatableVector& operator+=(const AnimatableVector& other) { return combine(other, 1); }
    AnimatableVector& operator-=(const AnimatableVector& other) { return combine(other, -1); }
    friend AnimatableVector operator+(AnimatableVector a, const AnimatableVector& b) { return a += b; }
    friend AnimatableVector operator-(AnimatableVector a, const AnimatableVector& b) { return a -= b; }

    // Trailing zeros do not count: [1, 0] equals [1].
    bool operator==(const AnimatableVector& other) const {
        const std::size_t n = std::max(values_.size(), other.values_.size());
        for (std::size_t i = 0; i < n; ++i)
            if ((*this)[i] != other[i]) return false;
        return true;
    }

private:
    AnimatableVector& combine(const AnimatableVector& other, double sign) {
        if (other.values_.size() > values_.size()) values_.resize(other.values_.size(), 0.0);
        for (std::size_t i = 0; i < other.values_.size(); ++i)
            values_[i] += sign * other.values_[i];
        return *this;
    }

    std::vector<double> values_;
};

static_assert(VectorArithmetic<AnimatableVector>);

} // namespace ui
