#pragma once

#include "ui/Element.h"
#include "ui/EnvironmentValues.h"
#include "ui/HostedLayer.h"
#include "ui/Transaction.h"
#include "ui/View.h"

#include <concepts>
#include <functional>
#include <memory>

// A view that hosts a layer painting itself on the graph's clock, as a Representable hosts a
// widget but without one (so it needs no QApplication and sits below masks, blend modes and
// compositing groups like any painted view):
//
//     struct Sparks {
//         using LayerType = SparkLayer;                 // a ui::HostedLayer
//         std::shared_ptr<SparkLayer> makeLayer(const ui::LayerContext&) const;
//         void updateLayer(SparkLayer& layer, const ui::LayerContext&) const;
//     };
//
// The layer is made once per identity, right before its first update, and updated whenever the
// view's description or environment changes. The view takes the size proposed to it and asks
// the clock for frames only while the layer says it animates.
namespace ui {

// What makeLayer and updateLayer are given.
struct LayerContext {
    EnvironmentValues environment;
    Transaction transaction;
    // The graph's clock time of the update, in seconds.
    double time = 0;
};

template <class R>
concept LayerRepresentable = std::copy_constructible<R> && std::derived_from<typename R::LayerType, HostedLayer> &&
    requires(const R& r, const LayerContext& context, typename R::LayerType& layer) {
    { r.makeLayer(context) } -> std::convertible_to<std::shared_ptr<typename R::LayerType>>;
    r.updateLayer(layer, context);
};

namespace detail {

// Made once per element by the node below; typed access through hostedLayer().
struct LayerHost;

class HostedLayerNode : public ViewNode {
public:
    std::string_view typeName() const override { return "LayerRepresentable"; }
    bool isLeaf() const override { return true; }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override;
    void placeChildren(Element&, const ProposedViewSize&) const override {}
    void render(const Element& element, DisplayList& list) const override;
    void visibilityChanged(Element& element, bool visible) const override;

    static HostedLayer* layer(const Element& element);

protected:
    // Makes the layer on the first update, hands the update to `apply`, then follows the clock.
    void host(Element& element, const std::function<std::shared_ptr<HostedLayer>(const LayerContext&)>& make,
              const std::function<void(HostedLayer&, const LayerContext&)>& apply) const;
};

template <class R> class LayerRepresentableNode final : public HostedLayerNode {
public:
    explicit LayerRepresentableNode(R representable)
        : representable_(std::move(representable)) {}

    void update(Element& element) const override {
        host(
            element, [this](const LayerContext& context) { return representable_.makeLayer(context); },
            [this](HostedLayer& layer, const LayerContext& context) {
                representable_.updateLayer(static_cast<typename R::LayerType&>(layer), context);
            });
    }

private:
    R representable_;
};

} // namespace detail

// The layer a LayerRepresentable's element hosts, for tests; null before its first update.
template <class R> typename R::LayerType* hostedLayer(const Element* element) {
    if (!element || !dynamic_cast<const detail::LayerRepresentableNode<R>*>(&element->node())) return nullptr;
    return static_cast<typename R::LayerType*>(detail::HostedLayerNode::layer(*element));
}

// The view of a layer representable.
template <LayerRepresentable R> View layerView(R representable) {
    return View(std::make_shared<detail::LayerRepresentableNode<R>>(std::move(representable)));
}

} // namespace ui
