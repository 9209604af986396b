#pragma once

#include "graphics/CGSize.h"
#include "ui/Animatable.h"
#include "ui/Element.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>

namespace ui {

namespace detail {

// Records what `renderer` draws for `element`, in its frame's coordinates; `clipped` cuts off
// what lies outside the frame.
void renderDrawing(const Element& element, DisplayList& list,
                   const std::function<void(GraphicsContext&, graphics::CGSize)>& renderer, bool clipped);

} // namespace detail

// A drawing that follows a value. The value animates as a built-in attribute does: given with
// an animation, it moves there over the frames that follow; without, it is there at once. A
// frame of the animation only paints again: nothing is evaluated or laid out anew, which suits
// an effect that changes its picture at every frame and nothing else.
//
// It takes the whole size it is offered and draws with the value it shows at that moment, in
// its own coordinates (origin at the top leading corner). What it draws past its frame shows.
template <VectorArithmetic V> class AnimatedCanvas : public View {
public:
    using Renderer = std::function<void(GraphicsContext&, graphics::CGSize, const V& value)>;

    AnimatedCanvas(V value, Renderer renderer)
        : View(std::shared_ptr<const ViewNode>(
              std::make_shared<Node>(std::move(value), std::move(renderer)))) {}

    // The value `element` shows now, when it is one of these canvases.
    static std::optional<V> presentedValue(const Element& element) {
        if (!dynamic_cast<const Node*>(&element.node())) return std::nullopt;
        const auto* shown = element.findAnimatedAttribute<V>(attribute);
        return shown ? std::optional<V>(shown->value()) : std::nullopt;
    }

private:
    static constexpr std::string_view attribute = "drawnValue";

    class Node final : public ViewNode {
    public:
        Node(V value, Renderer renderer)
            : value_(std::move(value))
            , renderer_(std::move(renderer)) {}
        std::string_view typeName() const override { return "AnimatedCanvas"; }
        bool isLeaf() const override { return true; }

        void update(Element& element) const override {
            element.animatedAttribute(attribute, value_, detail::AnimatedEffect::paint)
                .setTarget(value_, element.transaction());
        }
        graphics::CGSize sizeThatFits(Element&, const ProposedViewSize& proposal) const override {
            return proposal.replacingUnspecifiedDimensions();
        }
        void render(const Element& element, DisplayList& list) const override {
            if (!renderer_) return;
            const auto* shown = element.findAnimatedAttribute<V>(attribute);
            const V value = shown ? shown->value() : value_;
            detail::renderDrawing(
                element, list,
                [&](GraphicsContext& context, graphics::CGSize size) { renderer_(context, size, value); },
                false);
        }

    private:
        V value_;
        Renderer renderer_;
    };
};

} // namespace ui
