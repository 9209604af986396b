#include "ui/View.h"

#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Layout.h"
#include "ui/ViewContext.h"
#include "ui/ViewNodes.h"
#include "ui/ViewPrimitive.h"

#include "reactive/ObservationRegistrar.h"

namespace ui {

namespace {

class EmptyNode final : public ViewNode {
public:
    std::string_view typeName() const override { return "EmptyView"; }
    bool isTransparent() const override { return true; }
    bool isEqual(const ViewNode& other) const override { return dynamic_cast<const EmptyNode*>(&other); }
};

const std::shared_ptr<const ViewNode>& emptyNode() {
    static const std::shared_ptr<const ViewNode> node = std::make_shared<EmptyNode>();
    return node;
}

class PrimitiveNode final : public ViewNode {
public:
    explicit PrimitiveNode(std::shared_ptr<const ViewPrimitive> leaf)
        : leaf_(std::move(leaf)) {}
    std::type_index kind() const override { return typeid(*leaf_); }
    std::string_view typeName() const override { return leaf_->typeName(); }
    bool isLeaf() const override { return true; }
    bool isEqual(const ViewNode& other) const override {
        const auto* same = dynamic_cast<const PrimitiveNode*>(&other);
        return same && (same->leaf_ == leaf_ || leaf_->isEqual(*same->leaf_));
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        return leaf_->sizeThatFits(proposal, element.environment());
    }
    void update(Element& element) const override {
        leaf_->update(element);
        ViewNode::update(element);
    }
    void placeChildren(Element&, const ProposedViewSize&) const override {}
    std::optional<CGFloat> explicitAlignment(Element& element, const AlignmentID* id,
                                             graphics::CGSize size) const override {
        return leaf_->alignmentGuide(id, size, element.environment());
    }
    void render(const Element& element, DisplayList& list) const override { leaf_->render(element, list); }
    std::optional<std::string> text() const override { return leaf_->text(); }
    const ViewPrimitive& leaf() const { return *leaf_; }

private:
    std::shared_ptr<const ViewPrimitive> leaf_;
};

} // namespace

void ViewPrimitive::render(const Element& element, DisplayList& list) const {
    record(list, element.frame(), element.environment());
}

// ViewNode defaults: a wrapper of its layout children.

void ViewNode::update(Element& element) const {
    element.reconcile({});
}

graphics::CGSize ViewNode::sizeThatFits(Element& element, const ProposedViewSize& proposal) const {
    return detail::unaryContentSize(element, proposal);
}

void ViewNode::placeChildren(Element& element, const ProposedViewSize& proposal) const {
    detail::placeUnaryContent(element, element.layoutFrame(), proposal, Alignment::center);
}

std::optional<CGFloat> ViewNode::explicitAlignment(Element&, const AlignmentID*, graphics::CGSize) const {
    return std::nullopt;
}

void ViewNode::render(const Element& element, DisplayList& list) const {
    element.renderChildren(list);
}

// Lists.

View ListNode::viewAt(std::size_t index) const {
    View view = rawViewAt(index);
    for (const auto& wrap : wrappers_)
        view = wrap(view);
    return view;
}

void ListNode::update(Element& element) const {
    std::vector<ChildSpec> specs;
    const std::size_t n = count();
    specs.reserve(n);
    const bool explicitIDs = hasExplicitIDs();
    for (std::size_t i = 0; i < n; ++i) {
        ChildKey key;
        if (explicitIDs) {
            key.id = idAt(i);
            key.isExplicit = true;
        } else {
            key.slot = i;
        }
        specs.push_back({viewAt(i), std::move(key), {}});
    }
    element.reconcile(std::move(specs));
}

// View.

View::View()
    : node_(emptyNode()) {}

View::View(std::shared_ptr<const ViewNode> node)
    : node_(node ? std::move(node) : emptyNode()) {}

View::View(std::shared_ptr<const ViewPrimitive> leaf)
    : node_(leaf ? std::shared_ptr<const ViewNode>(std::make_shared<PrimitiveNode>(std::move(leaf)))
                 : emptyNode()) {}

View View::apply(const std::function<View(View)>& wrap) const {
    if (const auto* list = dynamic_cast<const ListNode*>(node_.get())) return View(list->withWrapper(wrap));
    return wrap(*this);
}

std::vector<View> View::enumerateChildren() const {
    if (const auto* list = dynamic_cast<const ListNode*>(node_.get())) {
        std::vector<View> result;
        for (std::size_t i = 0; i < list->count(); ++i) {
            auto inner = list->viewAt(i).enumerateChildren();
            result.insert(result.end(), inner.begin(), inner.end());
        }
        return result;
    }
    if (dynamic_cast<const EmptyNode*>(node_.get())) return {};
    return {*this};
}

View View::idErased(foundation::AnyHashable id) const {
    return View(std::make_shared<detail::IDNode>(*this, std::move(id)));
}

View View::tagErased(foundation::AnyHashable tag) const {
    return apply([tag](View content) { return View(std::make_shared<detail::TagNode>(content, tag)); });
}

std::optional<foundation::AnyHashable> View::tagValue() const {
    for (const ViewNode* node = node_.get(); node;) {
        if (const auto* tag = dynamic_cast<const detail::TagNode*>(node)) return tag->tag();
        const auto* wrapper = dynamic_cast<const detail::WrapperNode*>(node);
        node = wrapper ? wrapper->content().node().get() : nullptr;
    }
    return std::nullopt;
}

graphics::CGRect View::elementBounds(const Element& element) {
    // Where layout put it (readers see the geometry being moved to), through the effects above.
    return element.layoutFrame().applying(element.transformToRoot());
}

// Custom views and modifiers.

detail::AttributeAnimation&
detail::bodyAttribute(ViewContext& ctx,
                      const std::function<std::shared_ptr<AttributeAnimation>(Element&)>& make) {
    Element& element = ctx.element();
    return *element.slot<AttributeAnimation>("\x1f"
                                             "animatableData",
                                             [&] { return make(element); });
}

const Transaction& detail::bodyTransaction(ViewContext& ctx) {
    return ctx.transaction();
}

void detail::CustomNodeBase::update(Element& element) const {
    auto& record = element.bodyRecord();
    if (element.needsBody()) {
        record.reads.clear();
        record.readsAll = false;
        auto previousObjects = std::move(record.objects);
        record.objects.clear();
        record.previousObjects = &previousObjects;
        View body;
        ViewContext ctx(element);
        // The tracking is renewed rather than replaced: a body that reads nearly what it read
        // before (a long list that gained a row) keeps most of its registrations.
        auto tracking = element.slot<reactive::ObservationTracking>(
            "\x1f"
            "observation",
            [] { return std::make_shared<reactive::ObservationTracking>(); });
        tracking->track(
            [&] { body = evaluate(ctx); },
            [ref = element.reference()] { detail::invalidateFromObservation(ref, Transaction::current()); });
        record.previousObjects = nullptr;
        record.body = std::move(body);
        record.environment = element.environment();
        element.noteEvaluated();
    }
    element.reconcile({ChildSpec{record.body, {}, {}}});
}

} // namespace ui
