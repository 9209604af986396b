#pragma once

#include "graphics/CGSize.h"
#include "ui/AnimatableVector.h"
#include "ui/Shader.h"

namespace ui {

// A shader applied to a view's layer: a colour effect, or a layer effect whose function may
// sample up to `maxSampleOffset` away from each pixel (the layer grows by that much on every
// side, so content there can be read and drawn on). A disabled effect draws the content as it
// is. Its animatable data are the shader's.
struct ShaderEffect {
    enum class Kind { color, layer };

    Shader shader;
    Kind kind = Kind::color;
    graphics::CGSize maxSampleOffset;
    bool isEnabled = true;

    AnimatableVector animatableData() const { return shader.animatableData(); }
    void setAnimatableData(const AnimatableVector& data) { shader.setAnimatableData(data); }

    bool operator==(const ShaderEffect&) const = default;
};

} // namespace ui
