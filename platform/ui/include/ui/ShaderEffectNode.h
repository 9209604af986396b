#pragma once

#include "ui/ShaderEffect.h"
#include "ui/ViewNodes.h"

namespace ui {

// The node of `colorEffect` and `layerEffect`: it holds the effect, takes no part in layout,
// and paints its content through the shader while the effect is enabled. The shader's numeric
// arguments animate with the transaction that changed them.
class ShaderEffectNode final : public detail::TransparentWrapperNode {
public:
    ShaderEffectNode(View content, ShaderEffect effect)
        : TransparentWrapperNode(std::move(content))
        , effect_(std::move(effect)) {}
    std::string_view typeName() const override {
        return effect_.kind == ShaderEffect::Kind::color ? "ColorEffect" : "LayerEffect";
    }
    void update(Element& element) const override;
    void render(const Element& element, DisplayList& list) const override;
    const ShaderEffect& effect() const { return effect_; }
    // The effect with the arguments the element presents now, mid-animation included.
    ShaderEffect presentedEffect(const Element& element) const;

private:
    ShaderEffect effect_;
};

} // namespace ui
