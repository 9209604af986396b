#pragma once

#include "ui/AlikeNode.h"
#include "ui/ViewNodes.h"

namespace ui::detail {

// What `zIndex` records: siblings paint in increasing order of it, in tree order among equals.
class ZIndexNode final : public TransparentWrapperNode, public AlikeNode {
public:
    ZIndexNode(View content, double value)
        : TransparentWrapperNode(std::move(content))
        , value_(value) {}
    std::string_view typeName() const override { return "ZIndex"; }
    bool alike(const ViewNode& previous) const override {
        const auto* same = dynamic_cast<const ZIndexNode*>(&previous);
        return same && same->value_ == value_;
    }
    double value() const { return value_; }

private:
    double value_;
};

} // namespace ui::detail
