#pragma once

#include "graphics/CGSize.h"
#include "graphics/ProjectionTransform.h"
#include "ui/AlikeNode.h"
#include "ui/Animatable.h"
#include "ui/Element.h"
#include "ui/View.h"
#include "ui/ViewNodes.h"

#include <concepts>
#include <memory>
#include <optional>
#include <string_view>
#include <typeinfo>

// Geometry effects as view nodes. The concept GeometryEffect is in ui/View.h; the built-in
// effects are ScaleEffect, RotationEffect, Rotation3DEffect and OffsetEffect.
namespace ui {

namespace detail {

// What every geometry effect's node does: it lays out as its content, and draws it, takes hits
// and reports bounds through the effect's transform about the place layout gave it.
class GeometryEffectNodeBase : public WrapperNode {
public:
    using WrapperNode::WrapperNode;

    // The effect for the view's size, in the view's own coordinates.
    virtual graphics::ProjectionTransform effectValue(graphics::CGSize size) const = 0;
    // The same with the data the element presents now, mid-animation included.
    virtual graphics::ProjectionTransform presentedEffectValue(const Element& element,
                                                              graphics::CGSize size) const {
        return effectValue(size);
    }

    // A transform with a non-finite entry is left out: the content draws as if unaffected.
    std::optional<graphics::ProjectionTransform> contentTransform(const Element& element) const override;
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override;
    void render(const Element& element, DisplayList& list) const override;
};

template <GeometryEffect E> class GeometryEffectNode final : public GeometryEffectNodeBase, public AlikeNode {
public:
    GeometryEffectNode(E effect, View content)
        : GeometryEffectNodeBase(std::move(content))
        , effect_(std::move(effect)) {}

    graphics::ProjectionTransform effectValue(graphics::CGSize size) const override {
        return effect_.effectValue(size);
    }
    void update(Element& element) const override {
        if constexpr (Animatable<E>) element.animate(animationName, getAnimatableData(effect_));
        GeometryEffectNodeBase::update(element);
    }
    graphics::ProjectionTransform presentedEffectValue(const Element& element,
                                                      graphics::CGSize size) const override {
        if constexpr (Animatable<E>) {
            E presented = effect_;
            setAnimatableData(presented, element.presentedValue(animationName, getAnimatableData(effect_)));
            return presented.effectValue(size);
        } else {
            return effect_.effectValue(size);
        }
    }
    bool isEqual(const ViewNode& other) const override {
        if constexpr (std::equality_comparable<E>) {
            const auto* same = dynamic_cast<const GeometryEffectNode*>(&other);
            return same && same->effect_ == effect_ && same->content_.node() == content_.node();
        } else {
            return false;
        }
    }
    bool alike(const ViewNode& previous) const override {
        if constexpr (std::equality_comparable<E>) {
            const auto* same = dynamic_cast<const GeometryEffectNode*>(&previous);
            return same && same->effect_ == effect_;
        } else {
            return false;
        }
    }
    std::string_view typeName() const override { return typeid(E).name(); }
    const E& value() const { return effect_; }

private:
    static constexpr std::string_view animationName = "geometryEffect";
    E effect_;
};

} // namespace detail

template <GeometryEffect E> View View::modifier(E effect) const {
    return apply([effect](View content) {
        return View(std::make_shared<detail::GeometryEffectNode<E>>(effect, std::move(content)));
    });
}

} // namespace ui
