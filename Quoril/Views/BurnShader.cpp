#include "Views/BurnShader.h"

#include "ui/ShaderLibrary.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quoril {

namespace {

// All lengths in points, so that the burn looks the same at every pixel density.
constexpr float cellSize = 40;      // the outline's coarsest wrinkles
constexpr float maxRaggedness = 44; // how far the outline strays from the edges' distance
constexpr float maxCharWidth = 20;  // the paper darkening ahead of the front
constexpr float emberWidth = 6;     // the glowing band on the front
// The time by which the front has passed every pixel: the last frames are all ash.
constexpr float burntThroughAt = 0.88f;

constexpr ui::ShaderColor transparent{};
constexpr ui::ShaderColor ember{1.0f, 0.45f, 0.05f, 1.0f};
constexpr ui::ShaderColor emberCore{1.0f, 0.86f, 0.35f, 1.0f};
constexpr ui::ShaderColor charred{0.06f, 0.03f, 0.01f, 1.0f};
constexpr float charOpacity = 0.8f;

// As a float, within the float's range; `fallback` for what is not a number or infinite.
float finiteOr(double value, float fallback) {
    if (!std::isfinite(value)) return fallback;
    return float(std::clamp(value, -1e30, 1e30));
}

// A lattice point's value in [0, 1).
float hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = std::uint32_t(x) * 0x8da6b343u ^ std::uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// Value noise in [0, 1): hashed lattice corners blended with a smoothstep.
float valueNoise(float x, float y, std::uint32_t seed) {
    const float ix = std::floor(x), iy = std::floor(y);
    const float fx = x - ix, fy = y - iy;
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    // Positions are clamped well within the integers' range before they get here.
    const auto x0 = std::int32_t(ix), y0 = std::int32_t(iy);
    const float a = hash(x0, y0, seed), b = hash(x0 + 1, y0, seed);
    const float c = hash(x0, y0 + 1, seed), d = hash(x0 + 1, y0 + 1, seed);
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

// Three octaves of value noise, in [0, 1); a fourth would wrinkle by less than a point.
float fractalNoise(float x, float y, std::uint32_t seed) {
    float sum = 0, amplitude = 4.0f / 7;
    for (int octave = 0; octave < 3; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + std::uint32_t(octave) * 0x9e3779b9u);
        x = x * 2.6f + 17.1f;
        y = y * 2.6f - 9.7f;
        amplitude *= 0.5f;
    }
    return sum;
}

// Seeds beyond ±2^30 share their outlines with the seeds at the limits.
std::uint32_t seedBits(float seed) {
    if (!std::isfinite(seed)) return 0;
    return std::uint32_t(std::int64_t(std::clamp(seed, -1073741824.0f, 1073741824.0f)));
}

float smoothstep(float from, float to, float x) {
    const float t = std::clamp((x - from) / (to - from), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

} // namespace

ui::ShaderColor burnColor(graphics::CGPoint position, ui::ShaderColor color, graphics::CGSize size,
                          float time, float seed) {
    if (!(time > 0)) return transparent;
    if (time >= 1) return color;
    const float width = std::max(finiteOr(size.width, 0), 0.0f);
    const float height = std::max(finiteOr(size.height, 0), 0.0f);
    const float x = std::clamp(finiteOr(position.x, 0), -1e6f, 1e6f);
    const float y = std::clamp(finiteOr(position.y, 0), -1e6f, 1e6f);

    // How far the front has come in from the edges, from just outside them to past the middle.
    const float middle = std::min(width, height) / 2;
    // A strip of a row or two burns with shallower bites and a narrower rim, or it would be
    // all rim.
    const float raggedness = std::clamp(middle * 0.6f, 8.0f, maxRaggedness);
    const float charWidth = std::clamp(middle * 0.3f, 6.0f, maxCharWidth);
    const float travel = charWidth + middle + raggedness + emberWidth;
    const float front = -charWidth + std::min(time / burntThroughAt, 1.0f) * travel;

    // Where the front passes: the distance from the nearest edge, pushed in by the noise.
    const float edgeDistance = std::max(std::min({x, width - x, y, height - y}), 0.0f);
    // Clear of the band whatever the noise says: no need to ask it.
    if (front - edgeDistance - raggedness >= emberWidth) return color;
    if (front - edgeDistance <= -charWidth) return transparent;
    // Fractal noise keeps near its middle: spread it out for deeper bites.
    const float wrinkle = smoothstep(0.2f, 0.8f, fractalNoise(x / cellSize, y / cellSize, seedBits(seed)));
    const float behind = front - (edgeDistance + raggedness * wrinkle);

    if (behind <= -charWidth) return transparent;
    if (behind >= emberWidth) return color;
    // What the paper becomes is as opaque as the paper was.
    const ui::ShaderColor soot = charred * (charOpacity * color.alpha);
    if (behind <= 0) {
        const float darkening = (behind + charWidth) / charWidth;
        return soot * (darkening * (2 - darkening));
    }
    // On the front: charred paper flares up, glows hottest inside, and settles into ash.
    const float along = behind / emberWidth;
    const float glow = smoothstep(0.0f, 0.3f, along) * (1 - smoothstep(0.5f, 1.0f, along));
    const float ash = smoothstep(0.5f, 1.0f, along);
    const ui::ShaderColor paper = ui::mix(soot, color, ash);
    const ui::ShaderColor flame =
        ui::mix(ember, emberCore, glow * glow * (0.5f + 0.5f * wrinkle)) * color.alpha;
    return ui::mix(paper, flame, glow);
}

ui::ShaderFunction burnShaderFunction() {
    return ui::ShaderFunction("burn", [](graphics::CGPoint position, ui::ShaderColor color,
                                         const ui::ShaderArguments& arguments) {
        const auto size = arguments.float2(0);
        // Out of the float's range is out of every meaningful range: clamp before narrowing.
        auto narrow = [](double v) { return std::isnan(v) ? float(v) : float(std::clamp(v, -1e30, 1e30)); };
        return burnColor(position, color, {size.x, size.y}, narrow(arguments.float_(2)),
                         narrow(arguments.float_(3)));
    });
}

void registerBurnShader() {
    ui::ShaderLibrary::default_().add(burnShaderFunction());
}

} // namespace quoril
