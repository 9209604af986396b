#include "ui/GeometryReader.h"

#include "ui/Element.h"
#include "ui/Layout.h"

namespace ui {

namespace {

struct ReaderState {
    std::optional<GeometryProxy> proxy;
    const void* builtFrom = nullptr; // the description the content was last built from
};

class GeometryReaderNode final : public ViewNode {
public:
    explicit GeometryReaderNode(std::function<View(const GeometryProxy&)> content)
        : content_(std::move(content)) {}
    std::string_view typeName() const override { return "GeometryReader"; }

    static std::shared_ptr<ReaderState> state(Element& element) {
        return element.slot<ReaderState>("\x01geometry", [] { return std::make_shared<ReaderState>(); });
    }
    void build(Element& element, const GeometryProxy& proxy) const {
        auto s = state(element);
        s->proxy = proxy;
        s->builtFrom = this;
        element.reconcile({ChildSpec{content_(proxy), {}, {}}});
    }
    // The content needs the reader's size, so it is built when the reader is placed; an
    // update between layouts rebuilds it with the last geometry.
    void update(Element& element) const override {
        auto s = state(element);
        if (s->proxy) build(element, *s->proxy);
    }
    graphics::CGSize sizeThatFits(Element&, const ProposedViewSize& proposal) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void placeChildren(Element& element, const ProposedViewSize&) const override {
        const auto frame = element.layoutFrame();
        const auto toRoot = element.transformToRoot();
        const GeometryProxy proxy =
            toRoot.isIdentity()
                ? GeometryProxy(frame.size, frame)
                : GeometryProxy(frame.size,
                                graphics::ProjectionTransform(
                                    graphics::CGAffineTransform::translation(frame.minX(), frame.minY()))
                                    .concatenating(toRoot));
        auto s = state(element);
        if (!s->proxy || !(*s->proxy == proxy) || s->builtFrom != this) build(element, proxy);
        detail::placeContent(element.layoutChildren(), frame, ProposedViewSize(frame.size),
                             Alignment::topLeading, true);
    }

private:
    std::function<View(const GeometryProxy&)> content_;
};

} // namespace

GeometryReader::GeometryReader(std::function<View(const GeometryProxy&)> content)
    : View(std::make_shared<GeometryReaderNode>(std::move(content))) {}

} // namespace ui
