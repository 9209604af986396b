#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Shader.h"
#include "ui/ShaderEffectNode.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/VisualEffect.h"
#include "ui/VisualEffectNode.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace ui {

namespace {

// The layer a shader effect paints its content into, or none when it leaves the content as
// it is. `bounds` is where the content lies in the layer's coordinates.
std::optional<DisplayList::LayerStyle>
shaderLayer(const ShaderEffect& effect, const EnvironmentValues& environment, const QRectF& bounds) {
    if (!effect.isEnabled || effect.shader.function().isEmpty() || bounds.isEmpty()) return std::nullopt;
    auto pass = std::make_shared<ShaderPass>();
    pass->function = effect.shader.function();
    pass->arguments = effect.shader.resolvedArguments(styleContext(environment));
    pass->origin = {bounds.x(), bounds.y()};
    DisplayList::LayerStyle style;
    style.shader = std::move(pass);
    style.bounds = bounds;
    if (effect.kind == ShaderEffect::Kind::layer) {
        auto reach = [](double v) { return std::isfinite(v) ? std::abs(v) : 0.0; };
        const double dx = reach(effect.maxSampleOffset.width), dy = reach(effect.maxSampleOffset.height);
        style.bounds = bounds.adjusted(-dx, -dy, dx, dy);
    }
    return style;
}

constexpr std::string_view shaderAttribute = "shaderArguments";
constexpr std::string_view visualEffectAttribute = "visualEffect";
constexpr std::string_view visualEffectClosure = "\x01visualEffectClosure";

} // namespace

void ShaderEffectNode::update(Element& element) const {
    const AnimatableVector data = effect_.animatableData();
    element.animatedAttribute(shaderAttribute, data, detail::AnimatedEffect::paint)
        .setTarget(data, element.transaction());
    TransparentWrapperNode::update(element);
}

ShaderEffect ShaderEffectNode::presentedEffect(const Element& element) const {
    const auto* attribute = element.findAnimatedAttribute<AnimatableVector>(shaderAttribute);
    if (!attribute || !attribute->isAnimating()) return effect_;
    ShaderEffect presented = effect_;
    presented.setAnimatableData(attribute->value());
    return presented;
}

void ShaderEffectNode::render(const Element& element, DisplayList& list) const {
    auto style = shaderLayer(presentedEffect(element), element.environment(), element.frame().toQRectF());
    if (!style) {
        element.renderChildren(list);
        return;
    }
    element.renderChildren(list.layer(std::move(*style)));
}

GeometryProxy VisualEffectNode::geometry(const Element& element) {
    const auto frame = element.frame();
    return GeometryProxy(frame.size, frame);
}

VisualEffect VisualEffectNode::effect(const Element& element) const {
    if (!effect_) return {};
    return effect_(VisualEffect(), geometry(element));
}

void VisualEffectNode::update(Element& element) const {
    // The target is what the closure makes of the geometry known now; painting asks it again
    // for the geometry then and keeps only how far the animation still is from its target.
    const AnimatableVector data = effect(element).animatableData();
    auto& attribute = element.animatedAttribute(visualEffectAttribute, data, detail::AnimatedEffect::paint);
    // The last target came from the geometry of its day; what the last closure makes of the
    // geometry now is where a change of the closure's values starts, as the geometry itself
    // does not animate here.
    const auto last = element.slot<Effect>(visualEffectClosure, [] { return std::make_shared<Effect>(); });
    if (*last) attribute.shiftBy((*last)(VisualEffect(), geometry(element)).animatableData() - attribute.target());
    attribute.setTarget(data, element.transaction());
    *last = effect_;
    TransparentWrapperNode::update(element);
}

VisualEffect VisualEffectNode::presentedEffect(const Element& element) const {
    VisualEffect chosen = effect(element);
    const auto* attribute = element.findAnimatedAttribute<AnimatableVector>(visualEffectAttribute);
    if (!attribute || !attribute->isAnimating()) return chosen;
    chosen.setAnimatableData(chosen.animatableData() + (attribute->value() - attribute->target()));
    return chosen;
}

void VisualEffectNode::render(const Element& element, DisplayList& list) const {
    const VisualEffect chosen = presentedEffect(element);
    const auto& steps = chosen.steps();
    // Each step wraps the ones before it; an offset moves where the later ones find the content.
    std::vector<std::optional<DisplayList::LayerStyle>> styles;
    QRectF bounds = element.frame().toQRectF();
    for (const auto& step : steps) {
        using Kind = VisualEffect::Step::Kind;
        std::optional<DisplayList::LayerStyle> style;
        switch (step.kind) {
        case Kind::shader:
            style = shaderLayer(step.shader, element.environment(), bounds);
            break;
        case Kind::opacity: {
            const double opacity = std::isnan(step.amount) ? 1.0 : std::clamp(step.amount, 0.0, 1.0);
            if (opacity < 1) {
                style.emplace();
                style->opacity = opacity;
            }
            break;
        }
        case Kind::blur:
            if (std::isfinite(step.amount) && step.amount > 0) {
                style.emplace();
                style->blurRadius = step.amount;
                style->blurOpaque = step.opaque;
                style->bounds = bounds;
            }
            break;
        case Kind::offset: {
            const double dx = std::isfinite(step.offset.width) ? step.offset.width : 0;
            const double dy = std::isfinite(step.offset.height) ? step.offset.height : 0;
            if (dx != 0 || dy != 0) {
                style.emplace();
                style->transform = QTransform::fromTranslate(dx, dy);
                bounds.translate(dx, dy);
            }
            break;
        }
        }
        styles.push_back(std::move(style));
    }
    DisplayList* target = &list;
    for (auto it = styles.rbegin(); it != styles.rend(); ++it)
        if (*it) target = &target->layer(std::move(**it));
    element.renderChildren(*target);
}

View View::colorEffect(Shader shader, bool isEnabled) const {
    ShaderEffect effect{std::move(shader), ShaderEffect::Kind::color, {}, isEnabled};
    return apply(
        [&](View content) { return View(std::make_shared<ShaderEffectNode>(std::move(content), effect)); });
}

View View::layerEffect(Shader shader, graphics::CGSize maxSampleOffset, bool isEnabled) const {
    ShaderEffect effect{std::move(shader), ShaderEffect::Kind::layer, maxSampleOffset, isEnabled};
    return apply(
        [&](View content) { return View(std::make_shared<ShaderEffectNode>(std::move(content), effect)); });
}

View View::visualEffect(
    std::function<VisualEffect(VisualEffect content, const GeometryProxy& proxy)> effect) const {
    return apply(
        [&](View content) { return View(std::make_shared<VisualEffectNode>(std::move(content), effect)); });
}

} // namespace ui
