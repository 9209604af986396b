#pragma once

#include "graphics/Image.h"

namespace ui {

// One kind of particle an EmitterLayer gives birth to. Below, x ± r means x + r(2u − 1) with u
// drawn uniformly from [0, 1] once per particle; angles in radians, y down (−π/2 is up).
struct EmitterCell {
    // Particles per second; births fall at clock times k / birthRate for whole k.
    float birthRate = 0;
    // Seconds a particle lives, times the layer's lifetime multiplier at its birth.
    float lifetime = 0;
    // Points per second along the direction of emission: velocity ± velocityRange.
    double velocity = 0;
    double velocityRange = 0;
    // Turns at ± spinRange radians per second, starting upright.
    double spinRange = 0;
    // Opacity 1 ± alphaRange at birth, changing by alphaSpeed per second; drawn clamped to [0, 1].
    float alphaRange = 0;
    float alphaSpeed = 0;
    // The contents' pixel size times scale, in points: scale ± scaleRange at birth, changing by
    // scaleSpeed per second; a particle whose scale reaches 0 is hidden.
    double scale = 1;
    double scaleRange = 0;
    double scaleSpeed = 0;
    // The direction of emission: emissionLongitude + emissionRange × (u − ½).
    double emissionRange = 0;
    double emissionLongitude = 0;
    // What each particle draws, centred on its position.
    graphics::Image contents;
};

} // namespace ui
