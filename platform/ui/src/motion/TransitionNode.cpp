#include "TransitionEffects.h"

#include "ui/AlikeNode.h"
#include "ui/AnyTransition.h"
#include "ui/Element.h"
#include "ui/Graph.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

using Phase = AnyTransition::Phase;

// Shows its content through a transition: at rest, or at the active end of an insertion
// (for one pass, then animating to rest) or of a removal (for the rest of its life).
class TransitionNode final : public detail::TransparentWrapperNode, public detail::AlikeNode {
public:
    TransitionNode(View content, AnyTransition transition)
        : TransparentWrapperNode(std::move(content))
        , transition_(std::move(transition)) {}
    std::string_view typeName() const override { return "Transition"; }
    // The transition shows only through the content it makes of its content.
    bool alike(const ViewNode& previous) const override { return detail::sameType<TransitionNode>(previous); }

    void update(Element& element) const override {
        auto& state = this->state(element);
        const bool inserting = !state.started && element.isInsertion();
        state.started = true;
        // The outermost transition shows the insertion; views inside it do not again.
        element.consumeInsertion();
        if (state.removing) {
            show(element, Phase::removal);
            return;
        }
        if (inserting && animates(element.transaction())) {
            // Made at the active end with nothing animating, then taken to rest with this
            // update's transaction, which animates it there.
            element.graph().withUpdateTransaction(Transaction(), [&] { show(element, Phase::insertion); });
        }
        show(element, Phase::identity);
    }

    bool beginRemoval(Element& element, const Transaction& transaction) const override {
        if (!animates(transaction)) return false;
        state(element).removing = true;
        element.refresh(transaction);
        return true;
    }

    const AnyTransition& transition() const { return transition_; }

private:
    struct State {
        bool started = false;
        bool removing = false;
    };
    static State& state(Element& element) {
        return *element.slot<State>("\x1f"
                                    "transition",
                                    [] { return std::make_shared<State>(); });
    }
    bool animates(const Transaction& transaction) const {
        return !transaction.disablesAnimations && (transaction.animation || transition_.hasAnimation());
    }
    void show(Element& element, Phase phase) const {
        element.reconcile({ChildSpec{transition_.apply(content_, phase, element.reference()), {}, {}}});
    }

    AnyTransition transition_;
};

} // namespace

namespace detail {

std::optional<AnyTransition> transitionOf(const View& view) {
    for (const ViewNode* node = view.node().get(); node;) {
        if (const auto* transition = dynamic_cast<const TransitionNode*>(node)) return transition->transition();
        const auto* wrapper = dynamic_cast<const WrapperNode*>(node);
        node = wrapper ? wrapper->content().node().get() : nullptr;
    }
    return std::nullopt;
}

} // namespace detail

View View::transition(const AnyTransition& transition) const {
    return apply(
        [&](View content) { return View(std::make_shared<TransitionNode>(std::move(content), transition)); });
}

} // namespace ui
