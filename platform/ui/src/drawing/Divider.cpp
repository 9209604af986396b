#include "ui/Divider.h"

#include "graphics/NSColor.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Layout.h"
#include "ui/ShapeStyleEnvironment.h"

namespace ui {

namespace {

constexpr CGFloat thickness = 1;

class DividerNode final : public ViewNode {
public:
    std::string_view typeName() const override { return "Divider"; }
    bool isEqual(const ViewNode& other) const override { return dynamic_cast<const DividerNode*>(&other); }

    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        // The line runs across the stack it stands in.
        Axis stack = Axis::vertical;
        for (Element* up = element.parent(); up; up = up->parent()) {
            if (up->node().isTransparent()) continue;
            stack = up->node().stackAxis().value_or(Axis::vertical);
            break;
        }
        const CGFloat length = detail::across(proposal, stack).value_or(thickness);
        return detail::sizeOf(thickness, length, stack);
    }

    void render(const Element& element, DisplayList& list) const override {
        static const Color separator(*graphics::NSColor::systemColor("separatorColor"));
        const QRectF rect = element.frame().toQRectF();
        QPainterPath path;
        path.addRect(rect);
        list.fill(path, separator.brush(styleContext(element.environment()), rect));
    }
};

} // namespace

Divider::Divider()
    : View(std::make_shared<DividerNode>()) {}

} // namespace ui
