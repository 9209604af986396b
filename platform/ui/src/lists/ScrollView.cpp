#include "ui/ScrollView.h"

#include "events/UserScrolling.h"

#include "ui/ColorScheme.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"
#include "ui/Graph.h"
#include "ui/HitTesting.h"
#include "ui/Layout.h"
#include "ui/LazyLayout.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {

namespace {

constexpr CGFloat kIndicatorThickness = 6;
constexpr CGFloat kIndicatorInset = 2;
constexpr CGFloat kIndicatorMinLength = 20;

struct ScrollState {
    graphics::CGPoint offset; // where it scrolls to
    graphics::CGPoint shown;  // where the content was last placed (on its way, when animated)
    graphics::CGSize content;
};

using OffsetData = AnimatablePair<CGFloat, CGFloat>;
constexpr std::string_view offsetAttribute = "contentOffset";

OffsetData offsetData(graphics::CGPoint p) {
    return {p.x, p.y};
}

class ScrollViewNode final : public detail::WrapperNode, public HitTestingNode, public detail::UserScrollable {
public:
    ScrollViewNode(View content, AxisSet axes, bool showsIndicators)
        : WrapperNode(std::move(content))
        , axes_(axes)
        , showsIndicators_(showsIndicators) {}
    std::string_view typeName() const override { return "ScrollView"; }
    // Content scrolled out of the viewport takes no hits.
    void hitTestEffect(const Element& element, HitTestEffect& effect) const override {
        QPainterPath clip;
        clip.addRect(element.frame().toQRectF());
        effect.clip = clip;
    }

    static std::shared_ptr<ScrollState> state(Element& element) {
        return element.slot<ScrollState>("\x01scroll", [] { return std::make_shared<ScrollState>(); });
    }
    ProposedViewSize contentProposal(const ProposedViewSize& p) const {
        return {axes_.contains(Axis::horizontal) ? std::nullopt : p.width,
                axes_.contains(Axis::vertical) ? std::nullopt : p.height};
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const auto content = detail::unaryContentSize(element, contentProposal(proposal));
        auto take = [](std::optional<CGFloat> offered, CGFloat content) {
            return offered && std::isfinite(*offered) ? *offered : content;
        };
        return {take(proposal.width, content.width), take(proposal.height, content.height)};
    }
    void placeChildren(Element& element, const ProposedViewSize& proposal) const override {
        const auto frame = element.layoutFrame();
        const auto childP = contentProposal(ProposedViewSize(frame.size));
        (void)proposal;
        const auto content = detail::unaryContentSize(element, childP);
        auto s = state(element);
        s->content = content;
        s->offset = clamped(s->offset, content, frame.size);
        // The content moves from the offset shown to the new one as the scroll's transaction
        // says; a content or viewport change that moves the limits just takes the new offset.
        auto& shown = element.animatedAttribute(offsetAttribute, offsetData(s->offset), detail::AnimatedEffect::paint);
        if (!(shown.target() == offsetData(s->offset))) shown.setTarget(offsetData(s->offset), Transaction());
        s->shown = clamped({shown.value().first, shown.value().second}, content, frame.size);
        const graphics::CGSize extent{axes_.contains(Axis::horizontal) ? content.width : frame.width(),
                                      axes_.contains(Axis::vertical) ? content.height : frame.height()};
        const graphics::CGRect bounds{{frame.minX() - s->shown.x, frame.minY() - s->shown.y}, extent};
        element.setContentDisplacement({-s->shown.x, -s->shown.y});
        auto& graph = element.graph();
        graph.pushVisibleRect(frame);
        detail::placeUnaryContent(element, bounds, childP, Alignment::center);
        graph.popVisibleRect();
    }
    void render(const Element& element, DisplayList& list) const override {
        DisplayList::LayerStyle style;
        QPainterPath clip;
        clip.addRect(element.frame().toQRectF());
        style.clip = clip;
        auto& content = list.layer(style);
        // Content scrolled far out of sight is passed by rather than painted under the clip.
        const auto& graph = element.graph();
        graph.pushPaintCull(&content, element.frame());
        struct Pop {
            const Graph& graph;
            ~Pop() { graph.popPaintCull(); }
        } pop{graph};
        element.renderChildren(content);
        if (showsIndicators_) recordIndicators(element, list);
    }

    // Thin bars over the content's edges, as long as the share of the content in sight and
    // placed where the viewport sits in it; none along an axis whose content fits.
    struct Indicator {
        QRectF thumb;
        QRectF track;
    };
    struct Indicators {
        std::optional<Indicator> vertical;
        std::optional<Indicator> horizontal;
    };
    Indicators indicators(const Element& element) const {
        const auto s = state(const_cast<Element&>(element));
        const auto frame = element.frame();
        const bool vertical = axes_.contains(Axis::vertical) && s->content.height > frame.height() + 0.5;
        const bool horizontal = axes_.contains(Axis::horizontal) && s->content.width > frame.width() + 0.5;
        // Each bar leaves the corner to the other when both show.
        const CGFloat corner = vertical && horizontal ? kIndicatorThickness + kIndicatorInset : 0;
        auto bar = [&](CGFloat trackStart, CGFloat track, CGFloat viewport, CGFloat content,
                       CGFloat offset) -> std::pair<CGFloat, CGFloat> {
            const CGFloat length =
                std::min(track, std::max<CGFloat>(kIndicatorMinLength, track * viewport / content));
            const CGFloat travel = content - viewport;
            const CGFloat progress = travel > 0 ? std::clamp<CGFloat>(offset / travel, 0, 1) : 0;
            return {trackStart + (track - length) * progress, length};
        };
        Indicators result;
        if (vertical) {
            const CGFloat start = frame.minY() + kIndicatorInset;
            const CGFloat track = frame.height() - 2 * kIndicatorInset - corner;
            const auto [y, length] = bar(start, track, frame.height(), s->content.height, s->shown.y);
            const CGFloat x = frame.maxX() - kIndicatorInset - kIndicatorThickness;
            result.vertical = Indicator{QRectF(x, y, kIndicatorThickness, length),
                                        QRectF(x, start, kIndicatorThickness, track)};
        }
        if (horizontal) {
            const CGFloat start = frame.minX() + kIndicatorInset;
            const CGFloat track = frame.width() - 2 * kIndicatorInset - corner;
            const auto [x, length] = bar(start, track, frame.width(), s->content.width, s->shown.x);
            const CGFloat y = frame.maxY() - kIndicatorInset - kIndicatorThickness;
            result.horizontal = Indicator{QRectF(x, y, length, kIndicatorThickness),
                                          QRectF(start, y, track, kIndicatorThickness)};
        }
        return result;
    }
    void recordIndicators(const Element& element, DisplayList& list) const {
        const auto dark = element.environment().get<ColorSchemeKey>() == ColorScheme::dark;
        const QColor color = dark ? QColor(255, 255, 255, 110) : QColor(0, 0, 0, 90);
        auto add = [&](QRectF rect) {
            if (rect.width() <= 0 || rect.height() <= 0) return;
            QPainterPath path;
            path.addRoundedRect(rect, kIndicatorThickness / 2, kIndicatorThickness / 2);
            list.fill(path, color);
        };
        const auto bars = indicators(element);
        if (bars.vertical) add(bars.vertical->thumb);
        if (bars.horizontal) add(bars.horizontal->thumb);
    }

    graphics::CGPoint clamped(graphics::CGPoint offset, graphics::CGSize content,
                              graphics::CGSize viewport) const {
        auto clamp = [](CGFloat value, CGFloat limit) {
            return std::clamp<CGFloat>(value, 0, std::max<CGFloat>(0, limit));
        };
        return {axes_.contains(Axis::horizontal) ? clamp(offset.x, content.width - viewport.width) : 0,
                axes_.contains(Axis::vertical) ? clamp(offset.y, content.height - viewport.height) : 0};
    }
    const AxisSet& axes() const { return axes_; }

    // What the user's wheel, page keys and indicator drags do.
    bool canScrollBy(const Element& element, graphics::CGSize delta) const override;
    bool scrollBy(Element& element, graphics::CGSize delta) const override;
    CGFloat pageLength(const Element& element) const override;
    bool scrollToEdge(Element& element, bool end) const override;
    std::optional<detail::IndicatorDrag> beginIndicatorDrag(Element& element, graphics::CGPoint point) const override;
    void continueIndicatorDrag(Element& element, const detail::IndicatorDrag& drag,
                               graphics::CGPoint point) const override;

private:
    AxisSet axes_;
    bool showsIndicators_;
};

Element* enclosingScrollView(const Element& element) {
    for (auto* e = const_cast<Element*>(&element); e; e = e->parent()) {
        if (e->nodeAs<ScrollViewNode>()) return e;
    }
    return nullptr;
}

Element* findVisibleByID(Element& root, const foundation::AnyHashable& id) {
    if (!root.isVisible()) return nullptr;
    if (const auto* own = root.explicitID(); own && *own == id) return &root;
    for (const auto& child : root.children()) {
        if (auto* found = findVisibleByID(*child, id)) return found;
    }
    return nullptr;
}

// A lazy stack or grid that holds (or would build) a row with the id, and where it would be.
std::optional<std::pair<Element*, graphics::CGRect>> findLazyRow(Element& root,
                                                                 const foundation::AnyHashable& id) {
    if (!root.isVisible()) return std::nullopt;
    if (const auto* lazy = root.nodeAs<detail::LazyNode>()) {
        if (auto frame = lazy->estimatedFrame(root, id)) return std::make_pair(&root, *frame);
    }
    for (const auto& child : root.children()) {
        if (auto found = findLazyRow(*child, id)) return found;
    }
    return std::nullopt;
}

class ScrollViewReaderNode final : public ViewNode {
public:
    explicit ScrollViewReaderNode(std::function<View(const ScrollViewProxy&)> content)
        : content_(std::move(content)) {}
    std::string_view typeName() const override { return "ScrollViewReader"; }
    bool isTransparent() const override { return true; }
    void update(Element& element) const override {
        element.reconcile({ChildSpec{content_(ScrollViewProxy(element.reference())), {}, {}}});
    }

private:
    std::function<View(const ScrollViewProxy&)> content_;
};

} // namespace

ScrollView::ScrollView(View content)
    : ScrollView(AxisSet::vertical, true, std::move(content)) {}

ScrollView::ScrollView(AxisSet axes, View content)
    : ScrollView(axes, true, std::move(content)) {}

ScrollView::ScrollView(AxisSet axes, bool showsIndicators, View content)
    : View(std::make_shared<ScrollViewNode>(std::move(content), axes, showsIndicators)) {}

graphics::CGPoint ScrollView::contentOffset(const Element& element) {
    auto* scrollView = enclosingScrollView(element);
    return scrollView ? ScrollViewNode::state(*scrollView)->offset : graphics::CGPoint{};
}

void ScrollView::setContentOffset(Element& element, graphics::CGPoint offset) {
    auto* scrollView = enclosingScrollView(element);
    if (!scrollView) return;
    auto s = ScrollViewNode::state(*scrollView);
    const auto* node = scrollView->nodeAs<ScrollViewNode>();
    const auto next = node->clamped(offset, s->content, scrollView->layoutFrame().size);
    if (next == s->offset) return;
    s->offset = next;
    // Inside withAnimation the content glides there; otherwise it jumps.
    const Transaction transaction = Transaction::current();
    auto& shown = scrollView->animatedAttribute(offsetAttribute, offsetData(s->shown), detail::AnimatedEffect::paint);
    shown.setTarget(offsetData(next), scrollView->graph().transformedByAncestors(*scrollView, transaction));
    scrollView->invalidate(transaction);
}

namespace {

// How far the scroll view may still move each way along each axis.
struct Room {
    graphics::CGPoint offset;
    graphics::CGPoint limit;
};
Room roomOf(const Element& scrollView) {
    const auto s = ScrollViewNode::state(const_cast<Element&>(scrollView));
    const auto viewport = scrollView.layoutFrame().size;
    return {s->offset,
            {std::max<CGFloat>(0, s->content.width - viewport.width), std::max<CGFloat>(0, s->content.height - viewport.height)}};
}

// The delta along the axes the scroll view takes: a vertical wheel moves one that scrolls only
// sideways sideways.
graphics::CGSize acceptedDelta(const AxisSet& axes, graphics::CGSize delta) {
    const bool horizontal = axes.contains(Axis::horizontal);
    const bool vertical = axes.contains(Axis::vertical);
    if (horizontal && !vertical && delta.width == 0) return {delta.height, 0};
    return {horizontal ? delta.width : 0, vertical ? delta.height : 0};
}

bool canMove(CGFloat delta, CGFloat offset, CGFloat limit) {
    return (delta > 0 && offset < limit - 0.01) || (delta < 0 && offset > 0.01);
}

// A line's worth, kept in sight of the page before.
constexpr CGFloat kPageOverlap = 16;

bool ScrollViewNode::canScrollBy(const Element& element, graphics::CGSize delta) const {
    const auto accepted = acceptedDelta(axes_, delta);
    const auto room = roomOf(element);
    return canMove(accepted.width, room.offset.x, room.limit.x) ||
           canMove(accepted.height, room.offset.y, room.limit.y);
}

bool ScrollViewNode::scrollBy(Element& element, graphics::CGSize delta) const {
    if (!canScrollBy(element, delta)) return false;
    const auto accepted = acceptedDelta(axes_, delta);
    const auto offset = state(element)->offset;
    ScrollView::setContentOffset(element, {offset.x + accepted.width, offset.y + accepted.height});
    return true;
}

CGFloat ScrollViewNode::pageLength(const Element& element) const {
    const CGFloat viewport = element.layoutFrame().height();
    return std::max<CGFloat>(viewport / 2, viewport - kPageOverlap);
}

bool ScrollViewNode::scrollToEdge(Element& element, bool end) const {
    const auto room = roomOf(element);
    graphics::CGPoint next = room.offset;
    if (axes_.contains(Axis::vertical))
        next.y = end ? room.limit.y : 0;
    else
        next.x = end ? room.limit.x : 0;
    if (next == room.offset) return false;
    ScrollView::setContentOffset(element, next);
    return true;
}

std::optional<detail::IndicatorDrag> ScrollViewNode::beginIndicatorDrag(Element& element, graphics::CGPoint point) const {
    // Indicators are drawn in frame coordinates; the point comes through the effects above.
    const auto global = element.globalFrame();
    const auto frame = element.frame();
    const QPointF local(point.x - global.minX() + frame.minX(), point.y - global.minY() + frame.minY());
    const auto bars = indicators(element);
    const auto room = roomOf(element);
    for (const bool vertical : {true, false}) {
        const auto& bar = vertical ? bars.vertical : bars.horizontal;
        if (!bar) continue;
        // A little wider than drawn, as thin bars are hard to hit.
        const QRectF track = vertical ? bar->track.adjusted(-4, 0, kIndicatorInset, 0)
                                      : bar->track.adjusted(0, -4, 0, kIndicatorInset);
        if (!track.contains(local)) continue;
        const CGFloat along = vertical ? local.y() : local.x();
        const CGFloat thumbStart = vertical ? bar->thumb.top() : bar->thumb.left();
        const CGFloat thumbEnd = vertical ? bar->thumb.bottom() : bar->thumb.right();
        const CGFloat travel = vertical ? room.limit.y : room.limit.x;
        const CGFloat trackLength =
            vertical ? bar->track.height() - bar->thumb.height() : bar->track.width() - bar->thumb.width();
        graphics::CGPoint start = room.offset;
        if (along < thumbStart || along > thumbEnd) {
            const CGFloat page = vertical ? pageLength(element) : element.layoutFrame().width();
            const CGFloat step = along < thumbStart ? -page : page;
            ScrollView::setContentOffset(element, vertical ? graphics::CGPoint{start.x, start.y + step}
                                                           : graphics::CGPoint{start.x + step, start.y});
            start = state(element)->offset;
        }
        return detail::IndicatorDrag{element.reference(), vertical, vertical ? point.y : point.x, start,
                                     trackLength > 0 ? travel / trackLength : 0};
    }
    return std::nullopt;
}

void ScrollViewNode::continueIndicatorDrag(Element& element, const detail::IndicatorDrag& drag,
                                           graphics::CGPoint point) const {
    const CGFloat moved = ((drag.vertical ? point.y : point.x) - drag.startPointer) * drag.contentPerPoint;
    ScrollView::setContentOffset(element, drag.vertical
                                              ? graphics::CGPoint{drag.startOffset.x, drag.startOffset.y + moved}
                                              : graphics::CGPoint{drag.startOffset.x + moved, drag.startOffset.y});
}

} // namespace

CGFloat ScrollView::pageLength(const Element& element) {
    auto* scrollView = enclosingScrollView(element);
    return scrollView ? scrollView->nodeAs<ScrollViewNode>()->pageLength(*scrollView) : 0;
}

namespace {
void scrollToID(const std::weak_ptr<detail::ElementRef>& reader, const foundation::AnyHashable& id,
              std::optional<graphics::CGPoint> anchor, int settles);
}

void ScrollViewProxy::scrollToErased(const foundation::AnyHashable& id,
                                     std::optional<graphics::CGPoint> anchor) const {
    scrollToID(reader_, id, anchor, 4);
}

namespace {
void scrollToID(const std::weak_ptr<detail::ElementRef>& reader, const foundation::AnyHashable& id,
              std::optional<graphics::CGPoint> anchor, int settles) {
    auto ref = reader.lock();
    if (!ref || !ref->element) return;
    Element* target = findVisibleByID(*ref->element, id);
    graphics::CGRect frame;
    Element* scrollView = nullptr;
    if (target) {
        frame = target->layoutFrame();
        scrollView = enclosingScrollView(*target);
    } else if (auto row = findLazyRow(*ref->element, id)) {
        frame = row->second;
        scrollView = enclosingScrollView(*row->first);
    }
    if (!scrollView) return;
    const auto viewport = scrollView->layoutFrame();
    const auto offset = ScrollView::contentOffset(*scrollView);
    // The target in content coordinates, from where the content was placed.
    const auto placedAt = ScrollViewNode::state(*scrollView)->shown;
    const CGFloat x = frame.minX() - viewport.minX() + placedAt.x;
    const CGFloat y = frame.minY() - viewport.minY() + placedAt.y;
    graphics::CGPoint next = offset;
    if (anchor) {
        next.x = x + anchor->x * frame.width() - anchor->x * viewport.width();
        next.y = y + anchor->y * frame.height() - anchor->y * viewport.height();
    } else {
        if (x < offset.x)
            next.x = x;
        else if (x + frame.width() > offset.x + viewport.width())
            next.x = x + frame.width() - viewport.width();
        if (y < offset.y)
            next.y = y;
        else if (y + frame.height() > offset.y + viewport.height())
            next.y = y + frame.height() - viewport.height();
    }
    if (next == offset) return;
    ScrollView::setContentOffset(*scrollView, next);
    // Where rows never built lie is estimated from those that were, and each scroll measures
    // more of them: line the target up again after the update until it stays put.
    if (settles > 0) {
        scrollView->graph().enqueueAction(
            [reader, id, anchor, settles] { scrollToID(reader, id, anchor, settles - 1); });
    }
}
} // namespace

ScrollViewReader::ScrollViewReader(std::function<View(const ScrollViewProxy&)> content)
    : View(std::make_shared<ScrollViewReaderNode>(std::move(content))) {}

} // namespace ui
