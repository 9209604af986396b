#pragma once

#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "ui/AlikeNode.h"
#include "ui/AnyShape.h"
#include "ui/Element.h"
#include "ui/HitTesting.h"
#include "ui/ViewNodes.h"

namespace ui {

// What `contentShape` records: the area that takes hits, whatever the content paints there.
class ContentShapeNode final : public detail::TransparentWrapperNode, public HitTestingNode, public detail::AlikeNode {
public:
    ContentShapeNode(View content, AnyShape shape, bool eoFill)
        : TransparentWrapperNode(std::move(content))
        , shape_(std::move(shape))
        , eoFill_(eoFill) {}
    std::string_view typeName() const override { return "ContentShape"; }
    // The shape is read only when hits are tested.
    bool alike(const ViewNode& previous) const override { return detail::sameType<ContentShapeNode>(previous); }
    const AnyShape& shape() const { return shape_; }
    bool eoFill() const { return eoFill_; }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        QPainterPath area = shape_.path(element.frame()).toQPainterPath();
        area.setFillRule(eoFill_ ? Qt::OddEvenFill : Qt::WindingFill);
        effect.contentShape = std::move(area);
    }
    // Whether `point` lies in the shape laid out in `frame` (both in root coordinates).
    bool contains(graphics::CGPoint point, const graphics::CGRect& frame) const {
        return shape_.path(frame).contains(point, eoFill_);
    }

private:
    AnyShape shape_;
    bool eoFill_;
};

// What `allowsHitTesting` records: false lets hits pass through the content to what lies below.
class AllowsHitTestingNode final : public detail::TransparentWrapperNode, public HitTestingNode, public detail::AlikeNode {
public:
    AllowsHitTestingNode(View content, bool enabled)
        : TransparentWrapperNode(std::move(content))
        , enabled_(enabled) {}
    std::string_view typeName() const override { return "AllowsHitTesting"; }
    bool alike(const ViewNode& previous) const override { return detail::sameType<AllowsHitTestingNode>(previous); }
    bool isEnabled() const { return enabled_; }
    void hitTestEffect(const Element&, HitTestEffect& effect) const override {
        if (!enabled_) effect.allowsHitTesting = false;
    }

private:
    bool enabled_;
};

} // namespace ui
