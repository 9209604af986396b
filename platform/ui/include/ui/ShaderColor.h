#pragma once

namespace ui {

// A colour as shader functions see and return it: premultiplied red, green, blue and alpha in
// 0...1, gamma-encoded sRGB. What a function returns is clamped to that range, with each
// colour component at most the alpha, before it is stored.
struct ShaderColor {
    float red = 0;
    float green = 0;
    float blue = 0;
    float alpha = 0;

    ShaderColor& operator+=(const ShaderColor& o) {
        red += o.red;
        green += o.green;
        blue += o.blue;
        alpha += o.alpha;
        return *this;
    }
    ShaderColor& operator*=(float by) {
        red *= by;
        green *= by;
        blue *= by;
        alpha *= by;
        return *this;
    }
    friend ShaderColor operator+(ShaderColor a, const ShaderColor& b) { return a += b; }
    friend ShaderColor operator*(ShaderColor a, float by) { return a *= by; }
    friend ShaderColor operator*(float by, ShaderColor a) { return a *= by; }
    bool operator==(const ShaderColor&) const = default;
};

// The colour a fraction `t` of the way from `a` to `b`.
inline ShaderColor mix(const ShaderColor& a, const ShaderColor& b, float t) {
    return a * (1 - t) + b * t;
}

} // namespace ui
