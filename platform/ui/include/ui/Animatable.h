#pragma once

#include <concepts>
#include <type_traits>
#include <utility>

namespace ui {

// How the animation engine does arithmetic on a type. Floating-point numbers are built in;
// any other type supplies `static V zero()`, `void scale(double by)` and
// `double magnitudeSquared() const` as members, beside `+`, `-`, `+=` and `-=`.
template <class V> struct VectorArithmeticTraits {
    static V zero()
        requires requires { V::zero(); }
    {
        return V::zero();
    }
    static void scale(V& value, double by)
        requires requires { value.scale(by); }
    {
        value.scale(by);
    }
    static double magnitudeSquared(const V& value)
        requires requires { value.magnitudeSquared(); }
    {
        return value.magnitudeSquared();
    }
};

template <std::floating_point F> struct VectorArithmeticTraits<F> {
    static F zero() { return F(0); }
    static void scale(F& value, double by) { value = F(value * by); }
    static double magnitudeSquared(const F& value) { return double(value) * double(value); }
};

// A value an animation can interpolate: a vector space with a length.
template <class V>
concept VectorArithmetic = std::copyable<V> && std::equality_comparable<V> && requires(V a, const V& b, double s) {
    { a + b } -> std::convertible_to<V>;
    { a - b } -> std::convertible_to<V>;
    a += b;
    a -= b;
    { VectorArithmeticTraits<V>::zero() } -> std::convertible_to<V>;
    VectorArithmeticTraits<V>::scale(a, s);
    { VectorArithmeticTraits<V>::magnitudeSquared(b) } -> std::convertible_to<double>;
};

template <VectorArithmetic V> V zeroVector() { return VectorArithmeticTraits<V>::zero(); }

template <VectorArithmetic V> V scaled(V value, double by) {
    VectorArithmeticTraits<V>::scale(value, by);
    return value;
}

template <VectorArithmetic V> double magnitudeSquared(const V& value) {
    return VectorArithmeticTraits<V>::magnitudeSquared(value);
}

// The value a fraction `t` of the way from `from` to `to` (t may leave [0, 1]).
template <VectorArithmetic V> V interpolate(const V& from, const V& to, double t) {
    return from + scaled(to - from, t);
}

// Two animatable values animated together.
template <VectorArithmetic First, VectorArithmetic Second> struct AnimatablePair {
    First first = zeroVector<First>();
    Second second = zeroVector<Second>();

    AnimatablePair() = default;
    AnimatablePair(First first, Second second)
        : first(std::move(first))
        , second(std::move(second)) {}

    static AnimatablePair zero() { return {}; }
    void scale(double by) {
        VectorArithmeticTraits<First>::scale(first, by);
        VectorArithmeticTraits<Second>::scale(second, by);
    }
    double magnitudeSquared() const { return ui::magnitudeSquared(first) + ui::magnitudeSquared(second); }

    AnimatablePair& operator+=(const AnimatablePair& other) {
        first += other.first;
        second += other.second;
        return *this;
    }
    AnimatablePair& operator-=(const AnimatablePair& other) {
        first -= other.first;
        second -= other.second;
        return *this;
    }
    friend AnimatablePair operator+(AnimatablePair a, const AnimatablePair& b) { return a += b; }
    friend AnimatablePair operator-(AnimatablePair a, const AnimatablePair& b) { return a -= b; }
    bool operator==(const AnimatablePair&) const = default;
};

// The data of something that has nothing to animate.
struct EmptyAnimatableData {
    static EmptyAnimatableData zero() { return {}; }
    void scale(double) {}
    double magnitudeSquared() const { return 0; }
    EmptyAnimatableData& operator+=(const EmptyAnimatableData&) { return *this; }
    EmptyAnimatableData& operator-=(const EmptyAnimatableData&) { return *this; }
    friend EmptyAnimatableData operator+(EmptyAnimatableData a, const EmptyAnimatableData&) { return a; }
    friend EmptyAnimatableData operator-(EmptyAnimatableData a, const EmptyAnimatableData&) { return a; }
    bool operator==(const EmptyAnimatableData&) const = default;
};

namespace detail {
template <class T>
concept HasAnimatableDataMember =
    std::is_member_object_pointer_v<decltype(&T::animatableData)> && VectorArithmetic<decltype(T::animatableData)>;

template <class T>
concept HasAnimatableDataAccessors = requires(const T& c, T& m) {
    { c.animatableData() } -> VectorArithmetic;
    m.setAnimatableData(c.animatableData());
};
} // namespace detail

// Something whose appearance follows a value the engine can interpolate: a type with a public
// data member `animatableData`, or with `animatableData()` and `setAnimatableData(value)` when
// the value is computed.
template <class T>
concept Animatable = detail::HasAnimatableDataMember<T> || detail::HasAnimatableDataAccessors<T>;

template <Animatable T> auto getAnimatableData(const T& value) {
    if constexpr (detail::HasAnimatableDataMember<T>)
        return value.animatableData;
    else
        return value.animatableData();
}

template <Animatable T> using AnimatableDataOf = decltype(getAnimatableData(std::declval<const T&>()));

template <Animatable T> void setAnimatableData(T& value, AnimatableDataOf<T> data) {
    if constexpr (detail::HasAnimatableDataMember<T>)
        value.animatableData = std::move(data);
    else
        value.setAnimatableData(std::move(data));
}

} // namespace ui
