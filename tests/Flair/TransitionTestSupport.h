// A stage that inserts and removes a card with a transition, and readers of what the modifiers
// of a transition present.
#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/AnimatedAttribute.h"
#include "ui/Animation.h"
#include "ui/AnyTransition.h"
#include "ui/Color.h"
#include "ui/Element.h"
#include "ui/GeometryEffect.h"
#include "ui/Rectangle.h"
#include "ui/ShapeView.h"
#include "ui/Stack.h"
#include "ui/State.h"
#include "ui/TestHost.h"
#include "ui/Transaction.h"
#include "ui/ViewConditional.h"
#include "ui/ViewContext.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace flairtest {

// A card of three coloured bands (so blurs, shears and turns show), found by the id "card".
inline ui::View bandedCard(double width, double height) {
    return ui::VStack(ui::HorizontalAlignment::center, 0,
                      {ui::Rectangle().fill(ui::Color(0.9, 0.2, 0.1)),
                       ui::Rectangle().fill(ui::Color(0.1, 0.6, 0.2)),
                       ui::Rectangle().fill(ui::Color(0.1, 0.25, 0.95))})
        .frame(width, height)
        .id("card");
}

// Shows `content` inserted or removed with `transition` as the state "show" says, in the middle
// of a `size` stage.
struct TransitionStage {
    std::shared_ptr<std::optional<ui::State<bool>>> show;
    ui::AnyTransition transition;
    ui::View content;
    graphics::CGSize size;
    ui::View body(ui::ViewContext& ctx) const {
        auto state = ctx.state<bool>("show", false);
        *show = state;
        return ui::ConditionalContent(*state, content.transition(transition)).frame(size.width, size.height);
    }
};

class TransitionHost {
public:
    TransitionHost(ui::AnyTransition transition, ui::View content, graphics::CGSize size)
        : host(ui::View(TransitionStage{show_, std::move(transition), std::move(content), size}), size) {
        host.update();
    }
    // Inserts or removes the content, animated when `animation` is given.
    void set(bool shown, std::optional<ui::Animation> animation) {
        if (animation)
            ui::withAnimation(*animation, [&] { (*show_)->set(shown); });
        else
            (*show_)->set(shown);
        host.update();
    }

private:
    std::shared_ptr<std::optional<ui::State<bool>>> show_ =
        std::make_shared<std::optional<ui::State<bool>>>();

public:
    ui::TestHost host;
};

// The view with `transition` applied at `phase`, outside any insertion.
inline ui::View atPhase(const ui::AnyTransition& transition, ui::View content,
                        ui::AnyTransition::Phase phase) {
    return transition.apply(std::move(content), phase, {});
}

// The first modifier or geometry effect of type T in the host's tree, as described.
template <class T> const T* described(const ui::TestHost& host) {
    const ui::Element* element = host.findType<T>();
    if (!element) return nullptr;
    if constexpr (ui::CustomModifier<T>)
        return &dynamic_cast<const ui::detail::CustomModifierNode<T>&>(element->node()).value();
    else
        return &dynamic_cast<const ui::detail::GeometryEffectNode<T>&>(element->node()).value();
}

// The active and identity modifiers of type T of a transition.
template <class T> std::pair<T, T> endsOf(const ui::AnyTransition& transition) {
    const auto at = [&](ui::AnyTransition::Phase phase) {
        ui::TestHost host(atPhase(transition, ui::Rectangle().fill(ui::Color(0, 0, 1)), phase), {100, 100});
        const T* value = described<T>(host);
        EXPECT_NE(value, nullptr);
        return *value;
    };
    return {at(ui::AnyTransition::Phase::insertion), at(ui::AnyTransition::Phase::identity)};
}

// What the animation engine presents for a custom modifier's data now.
template <class V> std::optional<V> enginePresented(const ui::Element* element) {
    if (!element) return std::nullopt;
    const auto* attribute = element->findSlot<ui::detail::AttributeAnimation>("\x1f"
                                                                              "animatableData");
    const auto* typed = dynamic_cast<const ui::detail::AnimatedAttribute<V>*>(attribute);
    if (!typed) return std::nullopt;
    return typed->value();
}

// The geometry effect of type E as presented now, for its element's size.
template <class E> std::optional<graphics::ProjectionTransform> presentedEffect(const ui::TestHost& host) {
    const ui::Element* element = host.findType<E>();
    if (!element) return std::nullopt;
    const auto& node = dynamic_cast<const ui::detail::GeometryEffectNode<E>&>(element->node());
    return node.presentedEffectValue(*element, element->frame().size);
}

template <class E> std::optional<ui::AnimatableDataOf<E>> presentedData(const ui::TestHost& host) {
    const ui::Element* element = host.findType<E>();
    if (!element) return std::nullopt;
    const E* effect = described<E>(host);
    return element->presentedValue("geometryEffect", ui::getAnimatableData(*effect));
}

// The first custom modifier of type T inside the host's removal ghosts, depth first.
template <class T> const ui::Element* ghostModifier(const ui::TestHost& host) {
    const std::function<const ui::Element*(const ui::Element&)> search =
        [&](const ui::Element& element) -> const ui::Element* {
        if (dynamic_cast<const ui::detail::CustomModifierNode<T>*>(&element.node())) return &element;
        for (const auto& child : element.children())
            if (const ui::Element* found = search(*child)) return found;
        return nullptr;
    };
    for (const ui::Element* ghost : host.removalGhosts())
        if (const ui::Element* found = search(*ghost)) return found;
    return nullptr;
}

inline bool sameImage(const QImage& a, const QImage& b) {
    return a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

} // namespace flairtest
