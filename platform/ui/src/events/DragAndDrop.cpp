#include "DragSession.h"


#include "ui/DropDelegate.h"
#include "ui/Element.h"
#include "ui/Gesture.h"
#include "ui/Graph.h"
#include "ui/HitTesting.h"
#include "ui/Transaction.h"
#include "ui/View.h"
#include "ui/ViewContext.h"
#include "ui/ViewNodes.h"

#include <cstdint>
#include <functional>
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
    std::uint64_t number = 0; // of the drag under way, or of the last one
    std::function<void(bool)> ended;
    View preview;
    graphics::CGSize size;
    graphics::CGSize grab;
    std::weak_ptr<ElementRef> layer;
    std::weak_ptr<ElementRef> root;
};

std::shared_ptr<DragState> sharedDragState(Graph& graph) {
    return graph.root().slot<DragState>("\x01drag", [&] {
        auto made = std::make_shared<DragState>();
        made->root = graph.root().reference();
        return made;
    });
}

DragState& dragState(Graph& graph) {
    return *sharedDragState(graph);
}

Element* alive(const std::weak_ptr<ElementRef>& weak) {
    auto ref = weak.lock();
    return ref && ref->element && ref->element->nodeAs<DropNode>() ? ref->element : nullptr;
}

// The layer shows the preview where the drag is now, or takes it away.
void refreshLayer(const DragState& state) {
    auto ref = state.layer.lock();
    if (ref && ref->element) ref->element->invalidate(Transaction());
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

// Clears the drag, then tells its source how it ended: the source may start another at once.
void finish(DragState& state, bool performed) {
    auto ended = std::move(state.ended);
    DragState idle;
    idle.number = state.number;
    idle.layer = state.layer;
    idle.root = state.root;
    state = std::move(idle);
    refreshLayer(state);
    if (ended) ended(performed);
}

} // namespace

std::uint64_t beginDrag(Graph& graph, DragStart start) {
    auto& state = dragState(graph);
    if (state.active) cancelDrag(graph);
    state.provider = std::move(start.provider);
    state.ended = std::move(start.ended);
    state.preview = std::move(start.preview);
    state.size = start.size;
    state.grab = start.grab;
    state.active = true;
    return ++state.number;
}

bool isDragging(Graph& graph, std::optional<std::uint64_t> drag) {
    const auto& state = dragState(graph);
    return state.active && (!drag || *drag == state.number);
}

void moveDrag(Graph& graph, graphics::CGPoint location) {
    auto& state = dragState(graph);
    if (!state.active) return;
    state.location = location;
    refreshLayer(state);
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
    bool performed = false;
    if (auto* target = alive(state.target); target && state.active) {
        const bool refused = state.proposal && (state.proposal->operation == DropOperation::forbidden ||
                                                state.proposal->operation == DropOperation::cancel);
        auto* delegate = delegateOf(*target);
        const auto info = infoFor(*target, state);
        if (!refused && delegate->validateDrop(info)) performed = delegate->performDrop(info);
    }
    exitTarget(state);
    finish(state, performed);
}

void cancelDrag(Graph& graph) {
    auto& state = dragState(graph);
    if (!state.active) return;
    exitTarget(state);
    finish(state, false);
}

std::optional<DragPreviewPlacement> dragPreview(Graph& graph) {
    const auto& state = dragState(graph);
    if (!state.active) return std::nullopt;
    return DragPreviewPlacement{
        state.preview,
        {{state.location.x - state.grab.width, state.location.y - state.grab.height}, state.size}};
}

void setDragLayer(Graph& graph, std::weak_ptr<ElementRef> layer) {
    dragState(graph).layer = std::move(layer);
}

namespace {

// Kept by a drag source's element: the drag it began, cancelled when the element goes while
// that drag is under way. Sources go while the tree updates, so the delegates and the source's
// callback run once the update is done; when the whole tree goes, nothing runs.
struct SourceGuard {
    Graph* graph = nullptr;
    std::weak_ptr<DragState> session;
    std::uint64_t drag = 0;

    ~SourceGuard() {
        auto state = session.lock();
        if (!state || !state->active || state->number != drag) return;
        auto root = state->root.lock();
        if (!root || !root->element) return;
        graph->enqueueAction([graph = graph, weak = session, drag = drag] {
            auto now = weak.lock();
            if (now && now->active && now->number == drag) cancelDrag(*graph);
        });
    }
};

// Makes its content draggable: a drag gesture that starts a drag session with the preview and
// the callback, moves it with the pointer and ends it.
struct DragSource {
    std::function<foundation::NSItemProvider()> data;
    std::optional<View> preview;
    std::function<void(bool)> ended;

    View body(ViewContext& ctx, View content) const {
        Element& element = ctx.element();
        Graph& graph = element.graph();
        const std::weak_ptr<SourceGuard> guard = element.slot<SourceGuard>("\x01dragSource", [&] {
            auto made = std::make_shared<SourceGuard>();
            made->graph = &graph;
            made->session = sharedDragState(graph);
            return made;
        });
        const auto self = element.reference();
        // The source's element and what it keeps, while both are there.
        auto source = [self, guard]() -> std::pair<Element*, std::shared_ptr<SourceGuard>> {
            auto ref = self.lock();
            auto kept = guard.lock();
            if (!ref || !ref->element || !kept) return {nullptr, nullptr};
            return {ref->element, std::move(kept)};
        };
        auto gesture = DragGesture(4, CoordinateSpace::global)
                           .onChanged([data = data, preview = preview, ended = ended,
                                       source](const DragGesture::Value& value) {
                               auto [element, kept] = source();
                               if (!element) return;
                               Graph& graph = element->graph();
                               if (!isDragging(graph, kept->drag)) {
                                   DragStart start;
                                   // The look is taken before `data` runs: what it changes shows later.
                                   const auto shown = element->globalFrame();
                                   start.size = shown.size;
                                   start.grab = {value.startLocation.x - shown.origin.x,
                                                 value.startLocation.y - shown.origin.y};
                                   start.preview = preview ? preview->environment(element->environment())
                                                           : snapshotOf(*element);
                                   start.ended = ended;
                                   start.provider = std::make_shared<foundation::NSItemProvider>(
                                       data ? data() : foundation::NSItemProvider());
                                   kept->drag = beginDrag(graph, std::move(start));
                               }
                               moveDrag(graph, value.location);
                           })
                           .onEnded([source](const DragGesture::Value& value) {
                               auto [element, kept] = source();
                               if (element && isDragging(element->graph(), kept->drag))
                                   endDrag(element->graph(), value.location);
                           })
                           .onCancelled([source] {
                               auto [element, kept] = source();
                               if (element && isDragging(element->graph(), kept->drag))
                                   cancelDrag(element->graph());
                           });
        return content.gesture(gesture);
    }
};

} // namespace

} // namespace detail

View View::onDrag(std::function<foundation::NSItemProvider()> data, std::function<void(bool)> ended) const {
    return modifier(detail::DragSource{std::move(data), std::nullopt, std::move(ended)});
}

View View::onDrag(std::function<foundation::NSItemProvider()> data, View preview,
                  std::function<void(bool)> ended) const {
    return modifier(detail::DragSource{std::move(data), std::move(preview), std::move(ended)});
}

View View::onDrop(std::vector<foundation::UTType> types, std::shared_ptr<DropDelegate> delegate) const {
    return View(std::make_shared<detail::DropNode>(*this, std::move(types), std::move(delegate)));
}

} // namespace ui
