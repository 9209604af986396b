#pragma once

#include "graphics/CGSize.h"
#include "ui/AnimatableVector.h"
#include "ui/Shader.h"
#include "ui/ShaderEffect.h"

#include <vector>

namespace ui {

// The effects a `visualEffect` closure puts on its content. It starts as the content drawn as
// it is; each call adds an effect outside the ones before it. Effects only change how the
// content is drawn: layout and hit testing see the view where layout put it.
class VisualEffect {
public:
    struct Step {
        enum class Kind { shader, opacity, blur, offset };
        Kind kind = Kind::opacity;
        ShaderEffect shader;     // kind shader
        double amount = 0;       // opacity, or blur radius
        bool opaque = false;     // blur
        graphics::CGSize offset; // kind offset
        bool operator==(const Step&) const = default;
    };

    VisualEffect() = default;

    VisualEffect colorEffect(Shader shader, bool isEnabled = true) const;
    VisualEffect layerEffect(Shader shader, graphics::CGSize maxSampleOffset, bool isEnabled = true) const;
    VisualEffect opacity(double opacity) const;
    VisualEffect blur(double radius, bool opaque = false) const;
    VisualEffect offset(graphics::CGSize offset) const;
    VisualEffect offset(double x, double y) const { return offset(graphics::CGSize{x, y}); }

    // Innermost first. Disabled shader effects are kept, so the data below keeps its shape.
    const std::vector<Step>& steps() const { return steps_; }

    // Every step's numbers in order: a shader's numeric arguments, an opacity, a blur radius,
    // an offset's two components.
    AnimatableVector animatableData() const;
    void setAnimatableData(const AnimatableVector& data);

    bool operator==(const VisualEffect&) const = default;

private:
    VisualEffect adding(Step step) const;
    std::vector<Step> steps_;
};

} // namespace ui
