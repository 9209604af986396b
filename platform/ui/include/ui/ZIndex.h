#pragma once

#include "ui/ViewNodes.h"

namespace ui::detail {

// What `zIndex` records: siblings paint in increasing order of it, in tree order among equals.
class ZIndexNode final : public TransparentWrapperNode {
public:
    ZIndexNode(View content, double value)
        : TransparentWrapperNode(std::move(content))
        , value_(value) {}
    std::string_view typeName() const override { return "ZIndex"; }
    double value() const { return value_; }

private:
    double value_;
};

} // namespace ui::detail
