#include "Views/BurnShader.h"

#include "ui/ShaderLibrary.h"

#include <algorithm>
#include <array>
#include <bit>
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

// The corner values of the lattice cell last asked for. A run of neighbouring pixels stays in
// one cell for many pixels, and hashing the corners is most of the noise's cost.
struct LatticeCell {
    bool known = false;
    std::int32_t x = 0, y = 0;
    std::uint32_t seed = 0;
    float a = 0, b = 0, c = 0, d = 0;
};

// The floor, as an integer: cheaper than std::floor without a rounding instruction. Positions
// are clamped well within the integers' range before they get here.
std::int32_t floorToInt(float x) {
    const auto truncated = std::int32_t(x);
    return x < float(truncated) ? truncated - 1 : truncated;
}

// Value noise in [0, 1): hashed lattice corners blended with a smoothstep.
float valueNoise(float x, float y, std::uint32_t seed, LatticeCell& cell) {
    const std::int32_t x0 = floorToInt(x), y0 = floorToInt(y);
    const float fx = x - float(x0), fy = y - float(y0);
    const float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
    if (!cell.known || cell.x != x0 || cell.y != y0 || cell.seed != seed) {
        cell = {true, x0, y0, seed, hash(x0, y0, seed), hash(x0 + 1, y0, seed), hash(x0, y0 + 1, seed),
                hash(x0 + 1, y0 + 1, seed)};
    }
    const float a = cell.a, b = cell.b, c = cell.c, d = cell.d;
    return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

constexpr int octaves = 3;

using LatticeCells = std::array<LatticeCell, octaves>;

// Three octaves of value noise, in [0, 1); a fourth would wrinkle by less than a point.
float fractalNoise(float x, float y, std::uint32_t seed, LatticeCells& lastCells) {
    float sum = 0, amplitude = 4.0f / 7;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += amplitude * valueNoise(x, y, seed + std::uint32_t(octave) * 0x9e3779b9u, lastCells[std::size_t(octave)]);
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

// What a frame's size, time and seed decide, alike for all its pixels.
struct Front {
    float width = 0, height = 0;
    float raggedness = 0, charWidth = 0;
    // How far the front has come in from the edges, from just outside them to past the middle.
    float distance = 0;
    std::uint32_t seed = 0;
};

Front frontFor(graphics::CGSize size, float time, float seed) {
    Front f;
    f.width = std::max(finiteOr(size.width, 0), 0.0f);
    f.height = std::max(finiteOr(size.height, 0), 0.0f);
    const float middle = std::min(f.width, f.height) / 2;
    // A strip of a row or two burns with shallower bites and a narrower rim, or it would be
    // all rim.
    f.raggedness = std::clamp(middle * 0.6f, 8.0f, maxRaggedness);
    f.charWidth = std::clamp(middle * 0.3f, 6.0f, maxCharWidth);
    const float travel = f.charWidth + middle + f.raggedness + emberWidth;
    f.distance = -f.charWidth + std::min(time / burntThroughAt, 1.0f) * travel;
    f.seed = seedBits(seed);
    return f;
}

// The front for these inputs, worked out once per thread for a run of calls that share them.
const Front& frontOf(graphics::CGSize size, float time, float seed) {
    struct Inputs {
        std::uint64_t width, height;
        std::uint32_t time, seed;
        bool operator==(const Inputs&) const = default;
    };
    // Starts with a time of 0, which never gets here.
    thread_local struct {
        Inputs inputs{};
        Front front;
    } last;
    const Inputs inputs{std::bit_cast<std::uint64_t>(size.width), std::bit_cast<std::uint64_t>(size.height),
                        std::bit_cast<std::uint32_t>(time), std::bit_cast<std::uint32_t>(seed)};
    if (!(inputs == last.inputs)) {
        last.front = frontFor(size, time, seed);
        last.inputs = inputs;
    }
    return last.front;
}

// A position's coordinate as a float within a range far beyond any overlay; 0 for what is not
// a number or infinite.
float coordinate(double value) {
    if (std::abs(value) <= 1e6) return float(value);
    if (!std::isfinite(value)) return 0;
    return value < 0 ? -1e6f : 1e6f;
}

// The colour of the pixel at (x, y) for a time strictly between 0 and 1.
ui::ShaderColor burnPixel(const Front& f, float x, float y, ui::ShaderColor color, LatticeCells& cells) {
    const float width = f.width, height = f.height, raggedness = f.raggedness, charWidth = f.charWidth;
    const float front = f.distance;
    // Where the front passes: the distance from the nearest edge, pushed in by the noise.
    const float edgeDistance = std::max(std::min({x, width - x, y, height - y}), 0.0f);
    // Clear of the band whatever the noise says: no need to ask it.
    if (front - edgeDistance - raggedness >= emberWidth) return color;
    if (front - edgeDistance <= -charWidth) return transparent;
    // Fractal noise keeps near its middle: spread it out for deeper bites.
    const float wrinkle = smoothstep(0.2f, 0.8f, fractalNoise(x / cellSize, y / cellSize, f.seed, cells));
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

} // namespace

ui::ShaderColor burnColor(graphics::CGPoint position, ui::ShaderColor color, graphics::CGSize size,
                          float time, float seed) {
    if (!(time > 0)) return transparent;
    if (time >= 1) return color;
    // Each thread keeps its own, so the result never depends on how rows are shared out.
    thread_local LatticeCells cells;
    return burnPixel(frontOf(size, time, seed), coordinate(position.x), coordinate(position.y), color, cells);
}

ui::ShaderFunction burnShaderFunction() {
    // The size, time and seed from the shader's arguments.
    struct Inputs {
        graphics::CGSize size;
        float time, seed;
    };
    auto inputsOf = [](const ui::ShaderArguments& arguments) {
        const auto size = arguments.float2(0);
        // Out of the float's range is out of every meaningful range: clamp before narrowing.
        auto narrow = [](double v) { return std::isnan(v) ? float(v) : float(std::clamp(v, -1e30, 1e30)); };
        return Inputs{{size.x, size.y}, narrow(arguments.float_(2)), narrow(arguments.float_(3))};
    };
    auto pixel = [inputsOf](graphics::CGPoint position, ui::ShaderColor color, const ui::ShaderArguments& arguments) {
        const Inputs in = inputsOf(arguments);
        return burnColor(position, color, in.size, in.time, in.seed);
    };
    // A row at a time: the arguments read and the front worked out once, the pixels computed as
    // burnColor computes them.
    auto row = [inputsOf](graphics::CGPoint start, graphics::CGPoint step, std::span<ui::ShaderColor> colors,
                          const ui::ShaderArguments& arguments) {
        const Inputs in = inputsOf(arguments);
        if (!(in.time > 0)) {
            std::fill(colors.begin(), colors.end(), transparent);
            return;
        }
        if (in.time >= 1) return;
        const Front front = frontFor(in.size, in.time, in.seed);
        LatticeCells cells;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const double at = double(i);
            colors[i] = burnPixel(front, coordinate(start.x + at * step.x), coordinate(start.y + at * step.y),
                                  colors[i], cells);
        }
    };
    return ui::ShaderFunction("burn", pixel, row);
}

void registerBurnShader() {
    ui::ShaderLibrary::default_().add(burnShaderFunction());
}

} // namespace quoril
