#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGSize.h"
#include "ui/EmitterCell.h"
#include "ui/HostedLayer.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace ui {

// A particle emitter: each of its cells gives birth to particles at the cell's rate from the
// layer's creation on, which then move in straight lines, turn, fade and shrink. Nothing is
// stored per particle: a birth's values come from a counter-based random stream of (seed, cell
// index, birth number), and a birth's number is its clock time times the birth rate. So
// layers with equal seeds, cells and contents that are alive together show identical particles
// for every birth after both exist, and a picture depends only on the clock time.
//
// At birth a particle gets: a lifetime of the cell's times the layer's multiplier then in force
// (no particle when that is ≤ 0); a position uniform in the emitter rectangle (its centre when
// the size is zero); a direction and speed, spin, opacity and scale as EmitterCell says.
// Particles are drawn in birth order, cell by cell.
class EmitterLayer final : public HostedLayer {
public:
    enum class Shape { point, rectangle };

    // `creationTime` on the graph's clock; no particle is born before it.
    explicit EmitterLayer(double creationTime = 0);

    std::uint32_t seed = 0;
    graphics::CGPoint emitterPosition;
    graphics::CGSize emitterSize;
    Shape emitterShape = Shape::point;
    std::vector<EmitterCell> emitterCells;
    // The share of the device's resolution particles are drawn at, in (0, 1]. Below 1 they are
    // drawn apart at that resolution and scaled up smoothly: soft contents such as smoke look the
    // same at a half and cost a quarter of the pixels.
    double resolution = 1;

    // The lifetime multiplier for births from `time` on (1 when made).
    void setLifetime(float multiplier, double time);
    float lifetime(double time) const;

    struct Particle {
        std::size_t cell = 0;
        std::int64_t birth = 0; // the birth number
        graphics::CGPoint position;
        double angle = 0; // radians, clockwise on screen
        double scale = 0;
        double alpha = 0; // clamped to [0, 1]
    };
    // The particles shown at `time`, in drawing order (hidden ones left out).
    std::vector<Particle> particles(double time) const;

    void render(DisplayList& list, graphics::CGSize size, double time) const override;
    bool isAnimating(double time) const override;

private:
    double creationTime_;
    // (from time, multiplier), in time order.
    std::vector<std::pair<double, float>> lifetimes_;
};

} // namespace ui
