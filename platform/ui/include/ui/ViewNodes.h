#pragma once

#include "foundation/AnyHashable.h"
#include "ui/Element.h"
#include "ui/Transaction.h"
#include "ui/View.h"

#include <memory>
#include <string_view>

// Building blocks for the layer's own view nodes.
namespace ui::detail {

// A node around one content view: modifiers. Lays out as its content unless it says otherwise.
class WrapperNode : public ViewNode {
public:
    explicit WrapperNode(View content)
        : content_(std::move(content)) {}
    const View& content() const { return content_; }
    void update(Element& element) const override { element.reconcile({ChildSpec{content_, {}, {}}}); }

protected:
    View content_;
};

// A wrapper that takes no part in layout: its content stands in its place.
class TransparentWrapperNode : public WrapperNode {
public:
    using WrapperNode::WrapperNode;
    bool isTransparent() const override { return true; }
};

// Gives its content an explicit identity: a new id is a new view.
class IDNode final : public TransparentWrapperNode {
public:
    IDNode(View content, foundation::AnyHashable id)
        : TransparentWrapperNode(std::move(content))
        , id_(std::move(id)) {}
    std::string_view typeName() const override { return "ID"; }
    void update(Element& element) const override {
        ChildKey key;
        key.id = id_;
        key.isExplicit = true;
        element.reconcile({ChildSpec{content_, std::move(key), {}}});
    }
    const foundation::AnyHashable& id() const { return id_; }

private:
    foundation::AnyHashable id_;
};

class TagNode final : public TransparentWrapperNode {
public:
    TagNode(View content, foundation::AnyHashable tag)
        : TransparentWrapperNode(std::move(content))
        , tag_(std::move(tag)) {}
    std::string_view typeName() const override { return "Tag"; }
    const foundation::AnyHashable& tag() const { return tag_; }

private:
    foundation::AnyHashable tag_;
};

// Invalidates the element behind `ref` from any thread, on the main thread.
void invalidateFromObservation(const std::weak_ptr<ElementRef>& ref, const Transaction& transaction);

// Applies the environment change of an environment modifier's node to `values`; false for any
// other node. For code that reads descriptions without building them (menus).
bool applyEnvironmentChange(const ViewNode& node, EnvironmentValues& values);

} // namespace ui::detail
