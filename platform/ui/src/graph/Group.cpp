#include "ui/Group.h"

#include "ui/AnyView.h"
#include "ui/ViewConditional.h"
#include "ui/ViewNodes.h"

namespace ui {

namespace {

class GroupNode final : public ListNode {
public:
    explicit GroupNode(std::vector<View> content)
        : content_(std::make_shared<const std::vector<View>>(std::move(content))) {}
    std::string_view typeName() const override { return "Group"; }
    std::size_t count() const override { return content_->size(); }
    bool hasExplicitIDs() const override { return false; }
    foundation::AnyHashable idAt(std::size_t index) const override { return foundation::AnyHashable(index); }
    std::shared_ptr<ListNode> withWrapper(Wrapper wrapper) const override {
        auto copy = std::make_shared<GroupNode>(*this);
        copy->wrappers_.push_back(std::move(wrapper));
        return copy;
    }

protected:
    View rawViewAt(std::size_t index) const override { return (*content_)[index]; }

private:
    std::shared_ptr<const std::vector<View>> content_;
};

class AnyViewNode final : public detail::TransparentWrapperNode {
public:
    using TransparentWrapperNode::TransparentWrapperNode;
    std::string_view typeName() const override { return "AnyView"; }
};

class ConditionalNode final : public detail::TransparentWrapperNode {
public:
    ConditionalNode(bool condition, View content)
        : TransparentWrapperNode(std::move(content))
        , condition_(condition) {}
    std::string_view typeName() const override { return "ConditionalContent"; }
    void update(Element& element) const override {
        ChildKey key;
        key.slot = condition_ ? 0 : 1;
        element.reconcile({ChildSpec{content_, key, {}}});
    }

private:
    bool condition_;
};

} // namespace

Group::Group(std::vector<View> content)
    : View(std::make_shared<GroupNode>(std::move(content))) {}

AnyView::AnyView(View content)
    : View(std::make_shared<AnyViewNode>(std::move(content))) {}

ConditionalContent::ConditionalContent(bool condition, View trueContent, View falseContent)
    : View(std::make_shared<ConditionalNode>(condition,
                                             condition ? std::move(trueContent) : std::move(falseContent))) {}

} // namespace ui
