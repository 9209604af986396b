#include "ui/AnyShape.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/HitTestTraits.h"
#include "ui/HitTesting.h"
#include "ui/Layout.h"
#include "ui/RoundedRectangle.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/ViewNodes.h"
#include "ui/ZIndex.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Painting effects take no part in layout: the content stands in their place, and the effect
// applies to the area its content covers.
class EffectNode : public detail::TransparentWrapperNode {
public:
    using TransparentWrapperNode::TransparentWrapperNode;
};

class ClipShapeNode final : public EffectNode, public HitTestingNode {
public:
    ClipShapeNode(View content, AnyShape shape, FillStyle style)
        : EffectNode(std::move(content))
        , shape_(std::move(shape))
        , style_(style) {}
    std::string_view typeName() const override { return "ClipShape"; }
    void update(Element& element) const override {
        shape_.outline()->update(element);
        EffectNode::update(element);
    }
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        QPainterPath outline = shape_.outline()->path(element.frame(), &element).toQPainterPath();
        outline.setFillRule(style_.fillRule());
        effect.clip = std::move(outline);
    }
    void render(const Element& element, DisplayList& list) const override {
        DisplayList::LayerStyle style;
        QPainterPath outline = shape_.outline()->path(element.frame(), &element).toQPainterPath();
        outline.setFillRule(style_.fillRule());
        if (style_.antialiased) {
            // The painter's clips have hard edges; a mask of the filled outline has smooth ones.
            auto coverage = std::make_shared<DisplayList>();
            coverage->fill(std::move(outline), QBrush(Qt::black));
            style.mask = std::move(coverage);
            style.bounds = element.frame().toQRectF();
        } else {
            style.clip = std::move(outline);
        }
        element.renderChildren(list.layer(std::move(style)));
    }

private:
    AnyShape shape_;
    FillStyle style_;
};

class LayerEffectNode : public EffectNode {
public:
    LayerEffectNode(View content, std::string_view name, DisplayList::LayerStyle style)
        : EffectNode(std::move(content))
        , name_(name)
        , style_(std::move(style)) {}
    std::string_view typeName() const override { return name_; }
    void render(const Element& element, DisplayList& list) const override {
        DisplayList::LayerStyle style = presentedStyle(element);
        style.bounds = element.frame().toQRectF();
        element.renderChildren(list.layer(std::move(style)));
    }
    const DisplayList::LayerStyle& style() const { return style_; }

protected:
    virtual DisplayList::LayerStyle presentedStyle(const Element&) const { return style_; }

private:
    std::string_view name_;
    DisplayList::LayerStyle style_;
};

// A blur whose radius animates.
class BlurNode final : public LayerEffectNode {
public:
    using LayerEffectNode::LayerEffectNode;
    void update(Element& element) const override {
        element.animate(attribute, style().blurRadius);
        LayerEffectNode::update(element);
    }

protected:
    DisplayList::LayerStyle presentedStyle(const Element& element) const override {
        DisplayList::LayerStyle shown = style();
        // A spring may swing below zero; a radius does not.
        shown.blurRadius = std::max<CGFloat>(0, element.presentedValue(attribute, shown.blurRadius));
        return shown;
    }

private:
    static constexpr std::string_view attribute = "blurRadius";
};

class HiddenNode final : public EffectNode, public HitTestingNode {
public:
    using EffectNode::EffectNode;
    std::string_view typeName() const override { return "Hidden"; }
    void hitTestEffect(const Element&, HitTestEffect& effect) const override { effect.allowsHitTesting = false; }
    void render(const Element&, DisplayList&) const override {}
};

// The mask is laid out like an overlay (offered the content's size, placed by `alignment`);
// only its coverage counts.
class MaskNode final : public ViewNode {
public:
    MaskNode(View content, View mask, Alignment alignment)
        : content_(std::move(content))
        , mask_(std::move(mask))
        , alignment_(alignment) {}
    std::string_view typeName() const override { return "Mask"; }
    void update(Element& element) const override {
        element.reconcile(
            {ChildSpec{content_, {0, {}, false, 0}, {}}, ChildSpec{mask_, {1, {}, false, 0}, {}}});
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return detail::contentSize(detail::flatten(content(element)), proposal);
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto frame = element.frame();
        detail::placeContent(detail::flatten(content(element)), frame, proposal, Alignment::center);
        detail::placeContent(detail::flatten(mask(element)), frame, ProposedViewSize(frame.size), alignment_,
                             true);
    }
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        const auto children = detail::flatten(content(element));
        if (children.size() != 1) return std::nullopt;
        return children.front()->explicitAlignment(id, size);
    }
    void render(const Element& element, DisplayList& list) const override {
        auto coverage = std::make_shared<DisplayList>();
        mask(element).render(*coverage);
        DisplayList::LayerStyle style;
        style.mask = std::move(coverage);
        content(element).render(list.layer(std::move(style)));
    }

private:
    static Element& content(const Element& element) { return *element.children()[0]; }
    static Element& mask(const Element& element) { return *element.children()[1]; }

    View content_, mask_;
    Alignment alignment_;
};

// A shadow resolves its colour where it stands, so it is a node of its own rather than a
// fixed layer style.
class ShadowNode final : public EffectNode {
public:
    ShadowNode(View content, std::optional<Color> color, CGFloat radius, CGFloat x, CGFloat y)
        : EffectNode(std::move(content))
        , color_(std::move(color))
        , radius_(std::isfinite(radius) ? std::max<CGFloat>(0, radius) : 0)
        , x_(std::isfinite(x) ? x : 0)
        , y_(std::isfinite(y) ? y : 0) {}
    std::string_view typeName() const override { return "Shadow"; }
    void render(const Element& element, DisplayList& list) const override {
        Shadow shadow{.radius = radius_, .x = x_, .y = y_};
        if (color_) shadow.color = color_->resolve(styleContext(element.environment())).toQColor();
        DisplayList::LayerStyle style;
        style.shadow = shadow;
        style.bounds = element.frame().toQRectF();
        element.renderChildren(list.layer(std::move(style)));
    }

private:
    std::optional<Color> color_;
    CGFloat radius_, x_, y_;
};

View styledLayer(const View& view, std::string_view name, DisplayList::LayerStyle style) {
    return view.apply([&](View content) {
        return View(std::make_shared<LayerEffectNode>(std::move(content), name, style));
    });
}

} // namespace

View View::foregroundStyle(AnyShapeStyle style) const {
    return environment(ForegroundStyleKey{}, std::optional<AnyShapeStyle>(std::move(style)));
}

View View::foregroundColor(std::optional<Color> color) const {
    if (!color) return environment(ForegroundStyleKey{}, std::nullopt);
    return foregroundStyle(AnyShapeStyle(*color));
}

View View::tint(std::optional<Color> tint) const {
    return environment(TintKey{}, std::move(tint));
}

View View::clipShape(const AnyShape& shape, FillStyle style) const {
    return apply([&](View content) {
        return View(std::make_shared<ClipShapeNode>(std::move(content), shape, style));
    });
}

View View::cornerRadius(CGFloat radius, bool antialiased) const {
    return clipShape(RoundedRectangle(radius), FillStyle{false, antialiased});
}

View View::mask(View mask, Alignment alignment) const {
    return apply(
        [&](View content) { return View(std::make_shared<MaskNode>(std::move(content), mask, alignment)); });
}

View View::blendMode(BlendMode mode) const {
    DisplayList::LayerStyle style;
    // Modes the painter lacks draw as normal (setBlendMode says so once per mode).
    style.blendMode = compositionMode(mode).value_or(QPainter::CompositionMode_SourceOver);
    if (!compositionMode(mode)) {
        QImage probe(1, 1, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&probe);
        setBlendMode(painter, mode);
    }
    return styledLayer(*this, "BlendMode", style);
}

View View::compositingGroup() const {
    DisplayList::LayerStyle style;
    style.isolated = true;
    return styledLayer(*this, "CompositingGroup", style);
}

View View::shadow(std::optional<Color> color, CGFloat radius, CGFloat x, CGFloat y) const {
    return apply([&](View content) {
        return View(std::make_shared<ShadowNode>(std::move(content), color, radius, x, y));
    });
}

View View::blur(CGFloat radius, bool opaque) const {
    DisplayList::LayerStyle style;
    style.blurRadius = std::isfinite(radius) ? std::max<CGFloat>(0, radius) : 0;
    style.blurOpaque = opaque;
    return apply([&](View content) { return View(std::make_shared<BlurNode>(std::move(content), "Blur", style)); });
}

View View::hidden() const {
    return apply([](View content) { return View(std::make_shared<HiddenNode>(std::move(content))); });
}

View View::zIndex(double value) const {
    return apply(
        [=](View content) { return View(std::make_shared<detail::ZIndexNode>(std::move(content), value)); });
}

View View::contentShape(const AnyShape& shape, bool eoFill) const {
    return apply([&](View content) {
        return View(std::make_shared<ContentShapeNode>(std::move(content), shape, eoFill));
    });
}

View View::allowsHitTesting(bool enabled) const {
    return apply([=](View content) {
        return View(std::make_shared<AllowsHitTestingNode>(std::move(content), enabled));
    });
}

} // namespace ui
