#include "ui/LayerRepresentable.h"

#include "ui/Clock.h"
#include "ui/DisplayList.h"
#include "ui/Graph.h"

#include <QPainterPath>

namespace ui::detail {

struct LayerHost {
    std::shared_ptr<HostedLayer> layer;
    FrameSubscription subscription;
    const Clock* clock = nullptr; // the one subscribed to
};

namespace {

constexpr std::string_view slotName = "\x01layer";

std::shared_ptr<LayerHost> layerHost(Element& element) {
    return element.slot<LayerHost>(slotName, [] { return std::make_shared<LayerHost>(); });
}

// Listens to the clock exactly while the element shows and its layer animates; each frame only
// paints again (nothing is re-evaluated).
void follow(Element& element, const std::shared_ptr<LayerHost>& host) {
    Clock& clock = element.graph().clock();
    const bool wanted = element.isVisible() && host->layer && host->layer->isAnimating(clock.now());
    if (!wanted || host->clock != &clock) {
        host->subscription.cancel();
        host->clock = nullptr;
    }
    if (!wanted || host->subscription.isActive()) return;
    host->clock = &clock;
    host->subscription = clock.onFrame([ref = element.reference(), weak = std::weak_ptr(host)](const Frame& frame) {
        auto host = weak.lock();
        auto r = ref.lock();
        if (!host || !r || !r->element) return;
        r->element->invalidateLayout();
        // The frame that shows the last change is painted; then the clock may rest.
        if (!host->layer->isAnimating(frame.time)) host->subscription.cancel();
    });
}

} // namespace

void HostedLayerNode::host(Element& element,
                           const std::function<std::shared_ptr<HostedLayer>(const LayerContext&)>& make,
                           const std::function<void(HostedLayer&, const LayerContext&)>& apply) const {
    auto state = layerHost(element);
    const LayerContext context{element.environment(), element.transaction(), element.graph().clock().now()};
    if (!state->layer) state->layer = make(context);
    if (state->layer) apply(*state->layer, context);
    follow(element, state);
    element.reconcile({});
}

graphics::CGSize HostedLayerNode::sizeThatFits(Element&, const ProposedViewSize& proposal) const {
    return proposal.replacingUnspecifiedDimensions();
}

void HostedLayerNode::render(const Element& element, DisplayList& list) const {
    const HostedLayer* hosted = layer(element);
    if (!hosted) return;
    const auto frame = element.frame();
    DisplayList content;
    hosted->render(content, frame.size, element.graph().clock().now());
    if (content.isEmpty()) return;
    DisplayList::LayerStyle style;
    style.transform = QTransform::fromTranslate(frame.origin.x, frame.origin.y);
    if (hosted->masksToBounds) {
        QPainterPath bounds;
        bounds.addRect(QRectF(0, 0, frame.size.width, frame.size.height));
        style.clip = bounds;
    }
    list.layer(std::move(style)) = std::move(content);
}

void HostedLayerNode::visibilityChanged(Element& element, bool visible) const {
    auto state = layerHost(element);
    if (visible)
        follow(element, state);
    else
        state->subscription.cancel();
}

HostedLayer* HostedLayerNode::layer(const Element& element) {
    auto state = const_cast<Element&>(element).slot<LayerHost>(slotName, [] { return std::make_shared<LayerHost>(); });
    return state->layer.get();
}

} // namespace ui::detail
