#include "ui/Element.h"
#include "ui/Graph.h"
#include "ui/TransactionModifier.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

// Edits the transaction of every update inside it.
class TransactionNode final : public detail::TransparentWrapperNode {
public:
    TransactionNode(View content, std::function<void(Transaction&)> transform)
        : TransparentWrapperNode(std::move(content))
        , transform_(std::move(transform)) {}
    std::string_view typeName() const override { return "Transaction"; }
    void transformTransaction(const Element&, Transaction& transaction) const override {
        if (transform_) transform_(transaction);
    }

private:
    std::function<void(Transaction&)> transform_;
};

void putAnimation(Transaction& transaction, const std::optional<Animation>& animation) {
    if (!transaction.disablesAnimations) transaction.setAnimation(animation);
}

// Puts its animation into the updates inside it in which its value changed.
class AnimationValueNode final : public detail::TransparentWrapperNode {
public:
    AnimationValueNode(View content, std::optional<Animation> animation, detail::EquatableValue value)
        : TransparentWrapperNode(std::move(content))
        , animation_(std::move(animation))
        , value_(std::move(value)) {}
    std::string_view typeName() const override { return "Animation"; }
    void transformTransaction(const Element& element, Transaction& transaction) const override {
        // Asked before update() records the new value, so a changed value shows here; an
        // update that starts lower down finds the value recorded and unchanged.
        const auto* previous = element.findSlot<detail::EquatableValue>(previousKey);
        if (previous && !(*previous == value_)) putAnimation(transaction, animation_);
    }
    void update(Element& element) const override {
        *element.slot<detail::EquatableValue>(previousKey, [&] { return std::make_shared<detail::EquatableValue>(); }) =
            value_;
        TransparentWrapperNode::update(element);
    }

private:
    static constexpr std::string_view previousKey = "\x1f" "previousValue";
    std::optional<Animation> animation_;
    detail::EquatableValue value_;
};

// The content of a modifier with a modifier-level transform: updated with the transaction the
// modifier received, so the transform reaches only the modifier's own views.
class ModifierContentNode final : public detail::TransparentWrapperNode {
public:
    ModifierContentNode(View content, std::weak_ptr<detail::ElementRef> owner)
        : TransparentWrapperNode(std::move(content))
        , owner_(std::move(owner)) {}
    std::string_view typeName() const override { return "ModifierContent"; }
    void transformTransaction(const Element& element, Transaction& transaction) const override {
        auto owner = owner_.lock();
        if (owner && owner->element) transaction = element.graph().receivedTransaction(*owner->element);
    }

private:
    std::weak_ptr<detail::ElementRef> owner_;
};

} // namespace

View View::transaction(std::function<void(Transaction&)> transform) const {
    return apply([&](View content) { return detail::transactionScope(std::move(content), transform); });
}

View View::animation(std::optional<Animation> animation) const {
    return transaction([animation](Transaction& transaction) { putAnimation(transaction, animation); });
}

View View::animationErased(std::optional<Animation> animation, detail::EquatableValue value) const {
    return apply([&](View content) {
        return View(std::make_shared<AnimationValueNode>(std::move(content), animation, value));
    });
}

View detail::transactionScope(View content, std::function<void(Transaction&)> transform) {
    return View(std::make_shared<TransactionNode>(std::move(content), std::move(transform)));
}

View detail::modifierContent(View content, std::weak_ptr<ElementRef> owner) {
    return View(std::make_shared<ModifierContentNode>(std::move(content), std::move(owner)));
}

std::function<void(Transaction&)> detail::animationTransform(std::optional<Animation> animation) {
    return [animation = std::move(animation)](Transaction& transaction) { putAnimation(transaction, animation); };
}

} // namespace ui
