// The window's drag layer: the preview of the drag under way, at the pointer, above everything.
#include "DragSession.h"

#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/Frame.h"
#include "ui/Graph.h"
#include "ui/Transaction.h"
#include "ui/ViewContext.h"
#include "ui/ViewNodes.h"
#include "ui/ViewPrimitive.h"

#include <QTransform>

#include <limits>
#include <memory>
#include <utility>

namespace ui::detail {

namespace {

// What an element painted, replayed at the leaf's own place.
class SnapshotLeaf final : public ViewPrimitive {
public:
    SnapshotLeaf(std::shared_ptr<const DisplayList> picture, graphics::CGRect frame)
        : picture_(std::move(picture))
        , frame_(frame) {}

    graphics::CGSize sizeThatFits(const ProposedViewSize&, const EnvironmentValues&) const override {
        return frame_.size;
    }
    void record(DisplayList& list, const graphics::CGRect& frame, const EnvironmentValues&) const override {
        DisplayList::LayerStyle style;
        style.transform =
            QTransform::fromTranslate(frame.origin.x - frame_.origin.x, frame.origin.y - frame_.origin.y);
        list.layer(std::move(style)) = *picture_;
    }
    bool isEqual(const ViewPrimitive& other) const override {
        const auto* leaf = dynamic_cast<const SnapshotLeaf*>(&other);
        return leaf && leaf->picture_ == picture_ && leaf->frame_ == frame_;
    }
    std::string_view typeName() const override { return "Snapshot"; }

private:
    std::shared_ptr<const DisplayList> picture_;
    graphics::CGRect frame_; // where the element stood in the picture
};

// Marks the preview, which lays out as its content.
class DragPreviewNode final : public WrapperNode {
public:
    using WrapperNode::WrapperNode;
    std::string_view typeName() const override { return "DragPreview"; }
};

struct DragLayer {
    View body(ViewContext& ctx) const {
        Graph& graph = ctx.element().graph();
        setDragLayer(graph, ctx.element().reference());
        const auto placement = dragPreview(graph);
        if (!placement) return View();
        FlexibleFrame whole;
        whole.maxWidth = std::numeric_limits<CGFloat>::infinity();
        whole.maxHeight = std::numeric_limits<CGFloat>::infinity();
        whole.alignment = Alignment::topLeading;
        const auto& frame = placement->frame;
        return View(std::make_shared<DragPreviewNode>(
                        placement->preview.frame(frame.size.width, frame.size.height)))
            .opacity(0.75)
            .offset(frame.origin.x, frame.origin.y)
            .frame(whole)
            .allowsHitTesting(false)
            // It follows the pointer, whatever animates beneath it.
            .transaction([](Transaction& transaction) { transaction.disablesAnimations = true; });
    }
};

} // namespace

View snapshotOf(const Element& element) {
    auto picture = std::make_shared<DisplayList>();
    element.render(*picture);
    return View(std::make_shared<SnapshotLeaf>(std::move(picture), element.frame()));
}

View withDragLayer(View root) {
    return root.overlay(View(DragLayer{}));
}

} // namespace ui::detail
