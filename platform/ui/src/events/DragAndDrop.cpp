#include "DragSession.h"

#include "ui/DropDelegate.h"
#include "ui/Element.h"
#include "ui/Graph.h"
#include "ui/HitTesting.h"
#include "ui/View.h"
#include "ui/ViewContext.h"
#include "ui/ViewNodes.h"

#include <optional>
#include <utility>
#include <vector>

namespace ui {

namespace detail {

namespace {

class DropNode final : public TransparentWrapperNode {
public:
    DropNode(View content, std::vector<foundation::UTType> types, std::shared_ptr<DropDelegate> delegate)
        : TransparentWrapperNode(std::move(content))
        , types_(std::move(types))
        , delegate_(std::move(delegate)) {}
    std::string_view typeName() const override { return "OnDrop"; }
    const std::vector<foundation::UTType>& types() const { return types_; }
    const std::shared_ptr<DropDelegate>& delegate() const { return delegate_; }

private:
    std::vector<foundation::UTType> types_;
    std::shared_ptr<DropDelegate> delegate_;
};

struct DragState {
    std::shared_ptr<const foundation::NSItemProvider> provider;
    std::weak_ptr<ElementRef> target;
    graphics::CGPoint location;
    std::optional<DropProposal> proposal;
    bool active = false;
};

DragState& dragState(Graph& graph) {
    return *graph.root().slot<DragState>("\x01drag", [] { return std::make_shared<DragState>(); });
}

Element* alive(const std::weak_ptr<ElementRef>& weak) {
    auto ref = weak.lock();
    return ref && ref->element && ref->element->nodeAs<DropNode>() ? ref->element : nullptr;
}

DropInfo infoFor(const Element& target, const DragState& state) {
    const auto origin = target.frame().origin;
    return DropInfo({state.location.x - origin.x, state.location.y - origin.y}, state.provider);
}

// The delegate the target's view has now: views make theirs anew at each update.
DropDelegate* delegateOf(const Element& target) {
    return target.nodeAs<DropNode>()->delegate().get();
}

// The innermost drop target under `location` that takes what the drag carries.
Element* targetAt(Graph& graph, graphics::CGPoint location, const DragState& state) {
    const DropInfo probe(location, state.provider);
    for (const auto& entry : hitTest(graph, location)) {
        const auto* node = entry.element->nodeAs<DropNode>();
        if (node && node->delegate() && probe.hasItemsConforming(node->types())) return entry.element;
    }
    return nullptr;
}

void exitTarget(DragState& state) {
    auto* target = alive(state.target);
    state.target.reset();
    state.proposal.reset();
    if (target) delegateOf(*target)->dropExited(infoFor(*target, state));
}

} // namespace

void beginDrag(Graph& graph, std::shared_ptr<const foundation::NSItemProvider> provider) {
    auto& state = dragState(graph);
    if (state.active) cancelDrag(graph);
    state.provider = std::move(provider);
    state.active = true;
}

bool isDragging(Graph& graph) {
    return dragState(graph).active;
}

void moveDrag(Graph& graph, graphics::CGPoint location) {
    auto& state = dragState(graph);
    if (!state.active) return;
    state.location = location;
    auto* now = targetAt(graph, location, state);
    if (now != alive(state.target)) {
        exitTarget(state);
        if (now) {
            state.target = now->reference();
            delegateOf(*now)->dropEntered(infoFor(*now, state));
        }
    }
    // The delegate may have ended the drag or removed its own view in dropEntered.
    if (auto* target = alive(state.target); target && state.active)
        state.proposal = delegateOf(*target)->dropUpdated(infoFor(*target, state));
}

void endDrag(Graph& graph, graphics::CGPoint location) {
    auto& state = dragState(graph);
    if (!state.active) return;
    moveDrag(graph, location);
    if (auto* target = alive(state.target)) {
        const bool refused = state.proposal && (state.proposal->operation == DropOperation::forbidden ||
                                                state.proposal->operation == DropOperation::cancel);
        auto* delegate = delegateOf(*target);
        const auto info = infoFor(*target, state);
        if (!refused && delegate->validateDrop(info)) delegate->performDrop(info);
    }
    exitTarget(state);
    state = DragState{};
}

void cancelDrag(Graph& graph) {
    auto& state = dragState(graph);
    if (!state.active) return;
    exitTarget(state);
    state = DragState{};
}

namespace {

// Makes its content draggable: a drag gesture that starts a drag session and shows the preview
// under the pointer while it lasts.
struct DragSource {
    std::function<foundation::NSItemProvider()> data;
    std::optional<View> preview;

    View body(ViewContext& ctx, View content) const {
        auto translation = ctx.state<std::optional<graphics::CGSize>>("\x01dragTranslation", std::nullopt);
        const auto self = ctx.element().reference();
        auto graphOf = [self]() -> Graph* {
            auto ref = self.lock();
            return ref && ref->element ? &ref->element->graph() : nullptr;
        };
        auto gesture = DragGesture(4, CoordinateSpace::global)
                           .onChanged([data = data, translation, graphOf](const DragGesture::Value& value) {
                               auto* graph = graphOf();
                               if (!graph) return;
                               if (!translation->has_value() || !isDragging(*graph)) {
                                   beginDrag(*graph, std::make_shared<foundation::NSItemProvider>(
                                                         data ? data() : foundation::NSItemProvider()));
                               }
                               translation.set(value.translation);
                               moveDrag(*graph, value.location);
                           })
                           .onEnded([translation, graphOf](const DragGesture::Value& value) {
                               translation.set(std::nullopt);
                               if (auto* graph = graphOf()) endDrag(*graph, value.location);
                           })
                           .onCancelled([translation, graphOf] {
                               translation.set(std::nullopt);
                               if (auto* graph = graphOf()) cancelDrag(*graph);
                           });
        View shown;
        if (translation->has_value()) {
            const View image = preview ? *preview : content;
            shown = image.opacity(0.75).offset(**translation).allowsHitTesting(false);
        }
        return content.overlay(shown).gesture(gesture);
    }
};

} // namespace

} // namespace detail

View View::onDrag(std::function<foundation::NSItemProvider()> data) const {
    return modifier(detail::DragSource{std::move(data), std::nullopt});
}

View View::onDrag(std::function<foundation::NSItemProvider()> data, View preview) const {
    return modifier(detail::DragSource{std::move(data), std::move(preview)});
}

View View::onDrop(std::vector<foundation::UTType> types, std::shared_ptr<DropDelegate> delegate) const {
    return View(std::make_shared<detail::DropNode>(*this, std::move(types), std::move(delegate)));
}

} // namespace ui
