#include "ui/LazyStack.h"

#include "ui/Layout.h"
#include "ui/LazyLayout.h"

namespace ui {

namespace {

class LazyStackNode final : public detail::LazyNode {
public:
    LazyStackNode(Axis axis, Alignment alignment, std::optional<CGFloat> spacing, std::vector<View> content)
        : LazyNode(axis, spacing.value_or(detail::defaultSpacing), std::move(content))
        , alignment_(alignment) {}
    std::string_view typeName() const override {
        return axis_ == Axis::horizontal ? "LazyHStack" : "LazyVStack";
    }

protected:
    std::vector<Track> tracks(CGFloat crossLength) const override { return {{0, crossLength, alignment_}}; }
    CGFloat idealCrossLength(Element& element) const override { return measuredCross(element); }

private:
    Alignment alignment_;
};

} // namespace

LazyVStack::LazyVStack(std::vector<View> content)
    : LazyVStack(HorizontalAlignment::center, std::nullopt, std::move(content)) {}

LazyVStack::LazyVStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing,
                       std::vector<View> content)
    : View(std::make_shared<LazyStackNode>(Axis::vertical, Alignment{alignment, VerticalAlignment::top},
                                           spacing, std::move(content))) {}

LazyHStack::LazyHStack(std::vector<View> content)
    : LazyHStack(VerticalAlignment::center, std::nullopt, std::move(content)) {}

LazyHStack::LazyHStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content)
    : View(std::make_shared<LazyStackNode>(Axis::horizontal,
                                           Alignment{HorizontalAlignment::leading, alignment}, spacing,
                                           std::move(content))) {}

} // namespace ui
