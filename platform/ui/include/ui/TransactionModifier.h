#pragma once

#include "ui/Animatable.h"
#include "ui/Animation.h"
#include "ui/Transaction.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace ui {

namespace detail {
View transactionScope(View content, std::function<void(Transaction&)> transform);
// Content that is updated with the transaction `owner` received.
View modifierContent(View content, std::weak_ptr<ElementRef> owner);
std::function<void(Transaction&)> animationTransform(std::optional<Animation> animation);
} // namespace detail

// What a transaction can be set for: a custom modifier or a geometry effect (include
// ui/GeometryEffect.h for those).
template <class M>
concept TransactionModifiable = CustomModifier<M> || GeometryEffect<M>;

// A custom modifier whose own views update under an edited transaction, while the content it
// modifies keeps the transaction from outside. Animatable when the modifier is: its data
// still animates with the outer transaction. A geometry effect's own data is what updates
// under the edited transaction, so the wrapper does not animate it again.
template <TransactionModifiable M> class TransactionModifier {
public:
    TransactionModifier(M modifier, std::function<void(Transaction&)> transform)
        : modifier_(std::move(modifier))
        , transform_(std::move(transform)) {}

    View body(ViewContext& ctx, View content) const {
        View inner = detail::modifierContent(std::move(content), ctx.element().reference());
        View own;
        if constexpr (CustomModifier<M>)
            own = modifier_.body(ctx, std::move(inner));
        else
            own = inner.modifier(modifier_);
        return detail::transactionScope(std::move(own), transform_);
    }

    auto animatableData() const requires CustomModifier<M> && Animatable<M> {
        return getAnimatableData(modifier_);
    }
    template <class Self = M>
    requires CustomModifier<Self> && Animatable<Self>
    void setAnimatableData(AnimatableDataOf<Self> data) { ui::setAnimatableData(modifier_, std::move(data)); }

    const M& modifier() const { return modifier_; }

private:
    M modifier_;
    std::function<void(Transaction&)> transform_;
};

// The modifier with `transform` applied to the transactions of its own views.
template <TransactionModifiable M>
TransactionModifier<M> transaction(M modifier, std::function<void(Transaction&)> transform) {
    return {std::move(modifier), std::move(transform)};
}

// The modifier's own views animate with `animation` (none: they do not animate), unless a
// transaction disables animations.
template <TransactionModifiable M>
TransactionModifier<M> animation(M modifier, std::optional<Animation> animation) {
    return {std::move(modifier), detail::animationTransform(std::move(animation))};
}

} // namespace ui
