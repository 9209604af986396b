#include "ui/Canvas.h"

#include "foundation/Logger.h"
#include "ui/AnimatedCanvas.h"
#include "ui/DisplayList.h"
#include "ui/DisplayListGraphicsBackend.h"
#include "ui/Element.h"
#include "ui/ShapeStyleEnvironment.h"

#include <QString>

#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace ui {

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.ui", "Canvas");
    return log;
}

std::string label(const std::optional<foundation::AnyHashable>& tag) {
    if (!tag) return "symbol";
    if (const auto* i = tag->get<int>()) return "symbol(" + std::to_string(*i) + ")";
    if (const auto* s = tag->get<std::string>()) return "symbol(" + *s + ")";
    return "symbol";
}

class CanvasNode final : public ViewNode {
public:
    CanvasNode(Canvas::Renderer renderer, View symbols)
        : renderer_(std::move(renderer))
        , symbols_(symbols.enumerateChildren()) {
        for (const auto& symbol : symbols_)
            tags_.push_back(symbol.tagValue());
    }
    std::string_view typeName() const override { return "Canvas"; }
    // Its size depends on the proposal only; it takes hits where it draws.
    bool isLeaf() const override { return true; }

    void update(Element& element) const override {
        std::vector<ChildSpec> specs;
        for (std::size_t i = 0; i < symbols_.size(); ++i) {
            ChildKey key;
            key.slot = i;
            specs.push_back({symbols_[i].allowsHitTesting(false), std::move(key), {}});
        }
        element.reconcile(std::move(specs));
    }
    graphics::CGSize sizeThatFits(Element&, const ProposedViewSize& proposal) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void placeChildren(Element& element, const ProposedViewSize&) const override {
        const auto origin = element.layoutFrame().origin;
        for (const auto& child : element.children()) {
            const auto size = child->measure(ProposedViewSize::unspecified());
            child->place({origin, size}, ProposedViewSize::unspecified());
        }
    }

    void render(const Element& element, DisplayList& list) const override {
        if (renderer_) detail::renderDrawing(element, list, renderer_, true);
    }

    // The symbol's painting in its own coordinates.
    std::optional<GraphicsContext::ResolvedSymbol> symbol(const Element& element,
                                                          const foundation::AnyHashable& id) const {
        const auto& children = element.children();
        for (std::size_t i = 0; i < tags_.size() && i < children.size(); ++i) {
            if (!tags_[i] || !(*tags_[i] == id)) continue;
            const Element& child = *children[i];
            const auto frame = child.frame();
            auto content = std::make_shared<DisplayList>();
            DisplayList::LayerStyle style;
            style.transform = QTransform::fromTranslate(-frame.origin.x, -frame.origin.y);
            child.render(content->layer(std::move(style)));
            GraphicsContext::ResolvedSymbol resolved;
            resolved.size = frame.size;
            resolved.content = std::move(content);
            resolved.label = label(tags_[i]);
            resolved.id = id;
            return resolved;
        }
        return std::nullopt;
    }

private:
    Canvas::Renderer renderer_;
    std::vector<View> symbols_;
    std::vector<std::optional<foundation::AnyHashable>> tags_;
};

} // namespace

void detail::renderDrawing(const Element& element, DisplayList& list,
                           const std::function<void(GraphicsContext&, graphics::CGSize)>& renderer,
                           bool clipped) {
    const auto frame = element.frame();
    auto backend = std::make_shared<DisplayListGraphicsBackend>(styleContext(element.environment()));
    // A context kept past its canvas finds no symbols rather than a gone element.
    GraphicsContext context(
        backend, element.environment(),
        [node = element.nodePointer(), ref = element.reference()](
            const foundation::AnyHashable& id) -> std::optional<GraphicsContext::ResolvedSymbol> {
            const auto live = ref.lock();
            const auto* canvas = dynamic_cast<const CanvasNode*>(node.get());
            if (!live || !live->element || !canvas) return std::nullopt;
            return canvas->symbol(*live->element, id);
        });
    try {
        renderer(context, frame.size);
    } catch (const std::exception& error) {
        logger().error("a canvas renderer failed: {}; what it drew so far is shown", error.what());
    }
    backend->close();
    if (backend->list().isEmpty()) return;
    DisplayList::LayerStyle style;
    style.transform = QTransform::fromTranslate(frame.origin.x, frame.origin.y);
    if (clipped) {
        QPainterPath bounds;
        bounds.addRect(QRectF(0, 0, frame.size.width, frame.size.height));
        style.clip = bounds;
    }
    list.layer(std::move(style)) = backend->takeList();
}

Canvas::Canvas(Renderer renderer, View symbols)
    : View(std::shared_ptr<const ViewNode>(std::make_shared<CanvasNode>(std::move(renderer), std::move(symbols)))) {}

Canvas::Canvas(bool, ColorRenderingMode, bool, Renderer renderer, View symbols)
    : Canvas(std::move(renderer), std::move(symbols)) {}

} // namespace ui
