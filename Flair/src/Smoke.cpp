#include "Flair/SmokeEffect.h"

#include "Flair/AnyConditionalEffect.h"
#include "Flair/ParticleLayerAttachment.h"
#include "Flair/ResourceBundleAccessor.h"
#include "foundation/Fatal.h"
#include "graphics/CGRect.h"
#include "ui/BlendMode.h"
#include "ui/Color.h"
#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"

#include <algorithm>
#include <map>
#include <numbers>

namespace Flair {

namespace detail {

graphics::Image requireSmokeImage(const foundation::Bundle& bundle, std::string_view name) {
    graphics::Image image = graphics::Image::named(bundle, name);
    if (image.isNull()) foundation::fatal("unable to load image " + std::string(name) + " from Flair_Flair");
    return image;
}

} // namespace detail

namespace {

// Loaded once per process, on the main thread, the first time a smoke view is built.
const graphics::Image& smokeImage(const std::string& name) {
    static std::map<std::string, graphics::Image, std::less<>> loaded;
    auto it = loaded.find(name);
    if (it == loaded.end()) it = loaded.emplace(name, detail::requireSmokeImage(*moduleBundle(), name)).first;
    return it->second;
}

} // namespace

std::shared_ptr<ui::EmitterLayer> SmokeLayerView::makeEmitterLayer(double time) const {
    const double w = size.width, h = size.height;
    auto layer = std::make_shared<ui::EmitterLayer>(time);
    layer->masksToBounds = false;
    // Soft puffs: half the resolution looks the same at a quarter of the pixels.
    layer->resolution = 0.5;
    layer->seed = seed;
    const double s = w / 750;
    const double d = s * 256 / 2.25;
    const graphics::CGRect slice = graphics::CGRect{{0, 0}, {w, h}}.divided(100, graphics::CGRectEdge::minYEdge).slice;
    layer->emitterPosition = {slice.midX(), slice.midY()};
    const graphics::CGRect inset = slice.insetBy(d, d);
    layer->emitterSize = inset.isNull() ? graphics::CGSize{} : inset.size;
    layer->emitterShape = ui::EmitterLayer::Shape::rectangle;

    ui::EmitterCell cell;
    cell.birthRate = std::max(float(w / 5), 10.0f);
    cell.lifetime = 1.5f;
    cell.velocity = std::min(w * 0.75, 175.0);
    cell.velocityRange = 10;
    cell.spinRange = std::numbers::pi;
    cell.alphaRange = 1;
    cell.alphaSpeed = -1;
    cell.scale = s;
    cell.scaleRange = w / 1000;
    cell.scaleSpeed = w / -2000;
    cell.emissionRange = std::numbers::pi / 10;
    cell.emissionLongitude = -std::numbers::pi / 2;
    cell.contents = particle;
    layer->emitterCells = {cell};
    layer->setLifetime(isActive ? 1 : 0, time);
    return layer;
}

void SmokeLayerView::updateLayer(ui::EmitterLayer& layer, const ui::LayerContext& context) const {
    layer.setLifetime(isActive ? 1 : 0, context.time);
}

ui::View SmokeEffect::smokeView() const {
    return ui::GeometryReader([particles = particles, isActive = isActive](const ui::GeometryProxy& proxy) {
        std::vector<ui::View> emitters;
        for (std::size_t i = 0; i < particles.size(); ++i)
            emitters.push_back(
                ui::layerView(SmokeLayerView{proxy.size(), isActive, smokeImage(particles[i]), std::uint32_t(i)})
                    .id(particles[i]));
        return ui::View(ui::ZStack(std::move(emitters)));
    });
}

ui::View SmokeEffect::body(ui::ViewContext&, ui::View content) const {
    const ui::View smoke = smokeView();
    // Opaque, so that the two copies split the smoke exactly (the default foreground is not).
    const ui::View frame = ui::Rectangle().fill(ui::Color::black);
    // Inside the frame: behind the view, clipped to it.
    const ui::View inside =
        content.background(smoke.mask(frame, ui::Alignment::trailing).allowsHitTesting(false));
    // Outside it: the frame erased, drawn in place or in the named layer.
    const ui::View outside = smoke.overlay(frame.blendMode(ui::BlendMode::destinationOut))
                                 .compositingGroup()
                                 .allowsHitTesting(false);
    return inside.modifier(ParticleLayerBackgroundModifier{ui::Alignment::center, outside, layer, true});
}

AnyConditionalEffect AnyConditionalEffect::smoke() {
    return smoke(ParticleLayer::local);
}

AnyConditionalEffect AnyConditionalEffect::smoke(ParticleLayer layer) {
    return AnyConditionalEffect(AnyContinuousEffect([layer](bool isActive) {
        std::vector<std::string> names(SmokeEffect::particleNames.begin(), SmokeEffect::particleNames.end());
        return SmokeEffect{isActive, layer, std::move(names)};
    }));
}

} // namespace Flair
