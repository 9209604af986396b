#include "ListRow.h"

#include "ui/DisplayList.h"
#include "ui/Graph.h"
#include "ui/Layout.h"
#include "ui/List.h"
#include "ui/ShapeStyleEnvironment.h"
#include "ui/StyleContext.h"

#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace ui::detail {

namespace {

constexpr std::size_t contentSlot = 0;
constexpr std::size_t backgroundSlot = 1;

// The view that sets a separator guide, looked for at the first paint after the row was
// placed anew (what is below changed) rather than at every paint: a row that is only moved
// keeps its views.
struct GuideSetter {
    bool known = false;
    bool none = false;
    std::weak_ptr<ElementRef> element;
};

struct StoredTraits {
    ListRowTraits traits;
    GuideSetter leadingSetter;
    GuideSetter trailingSetter;
};

std::shared_ptr<StoredTraits> storedTraits(Element& element) {
    return element.slot<StoredTraits>("\x01rowTraits", [] { return std::make_shared<StoredTraits>(); });
}

Element* childAt(const Element& element, std::size_t slot) {
    for (const auto& child : element.children()) {
        if (child->key().slot == slot) return child.get();
    }
    return nullptr;
}

EdgeInsets insetsOf(const Element& element) {
    return ListRowNode::traits(element).insets.value_or(List::defaultRowInsets);
}

ProposedViewSize contentProposal(const ProposedViewSize& proposal, const EdgeInsets& insets) {
    auto shrink = [](std::optional<CGFloat> length, CGFloat by) -> std::optional<CGFloat> {
        if (!length || !std::isfinite(*length)) return length;
        return std::max<CGFloat>(0, *length - by);
    };
    return {shrink(proposal.width, insets.leading + insets.trailing),
            shrink(proposal.height, insets.top + insets.bottom)};
}

// The x of `element`'s `guide`, in root coordinates, if it is shown and sets it.
std::optional<CGFloat> ownGuideX(const Element& element, const AlignmentID* guide) {
    if (!element.isVisible() || element.isHidden()) return std::nullopt;
    if (auto value = const_cast<Element&>(element).explicitAlignment(guide, element.frame().size))
        return element.frame().minX() + *value;
    return std::nullopt;
}

// The first view in the row that sets `guide`, and the guide's x.
const Element* findGuideSetter(const Element& element, const AlignmentID* guide, CGFloat& x) {
    if (!element.isVisible() || element.isHidden()) return nullptr;
    if (auto found = ownGuideX(element, guide)) {
        x = *found;
        return &element;
    }
    for (const auto& child : element.children()) {
        if (const auto* found = findGuideSetter(*child, guide, x)) return found;
    }
    return nullptr;
}

std::optional<CGFloat> guideX(const Element& row, GuideSetter& setter, const AlignmentID* guide) {
    if (setter.known) {
        if (setter.none) return std::nullopt;
        const auto reference = setter.element.lock();
        if (reference && reference->element) {
            if (auto x = ownGuideX(*reference->element, guide)) return x;
        }
    }
    CGFloat x = 0;
    const Element* found = findGuideSetter(row, guide, x);
    setter.known = true;
    setter.none = !found;
    setter.element = found ? found->reference() : std::weak_ptr<ElementRef>();
    if (!found) return std::nullopt;
    return x;
}

QColor resolved(const Color& color, const EnvironmentValues& environment) {
    return color.resolve(styleContext(environment)).toQColor();
}

} // namespace

ListRowTraits ListRowNode::traits(const Element& element) {
    return storedTraits(const_cast<Element&>(element))->traits;
}

void ListRowNode::update(Element& element) const {
    std::vector<ChildSpec> specs;
    specs.push_back({content_, {contentSlot, {}, false, 0}, {}});
    const auto& traits = storedTraits(element)->traits;
    if (traits.background) specs.push_back({*traits.background, {backgroundSlot, {}, false, 0}, {}});
    element.reconcile(std::move(specs));
}

graphics::CGSize ListRowNode::sizeThatFits(Element& element, const ProposedViewSize& proposal) const {
    const auto insets = insetsOf(element);
    auto* content = childAt(element, contentSlot);
    const auto size = content ? contentSize(flatten(*content), contentProposal(proposal, insets))
                              : graphics::CGSize{};
    const CGFloat minHeight = element.environment().get<DefaultMinListRowHeightKey>();
    const CGFloat width = proposal.width && std::isfinite(*proposal.width)
                              ? *proposal.width
                              : size.width + insets.leading + insets.trailing;
    return {std::max<CGFloat>(0, width), std::max(minHeight, size.height + insets.top + insets.bottom)};
}

void ListRowNode::placeChildren(Element& element, const ProposedViewSize& proposal) const {
    (void)proposal;
    auto stored = storedTraits(element);
    stored->leadingSetter.known = false;
    stored->trailingSetter.known = false;
    const auto frame = element.layoutFrame();
    const auto insets = insetsOf(element);
    if (auto* content = childAt(element, contentSlot)) {
        const graphics::CGRect bounds{
            {frame.minX() + insets.leading, frame.minY() + insets.top},
            {std::max<CGFloat>(0, frame.width() - insets.leading - insets.trailing),
             std::max<CGFloat>(0, frame.height() - insets.top - insets.bottom)}};
        placeContent(flatten(*content), bounds, contentProposal(ProposedViewSize(frame.size), insets),
                     Alignment::leading);
    }
    if (auto* background = childAt(element, backgroundSlot))
        placeContent(flatten(*background), frame, ProposedViewSize(frame.size), Alignment::center, true);
}

void ListRowNode::render(const Element& element, DisplayList& list) const {
    const auto frame = element.frame();
    const auto& environment = element.environment();
    auto stored = storedTraits(const_cast<Element&>(element));
    const auto& traits = stored->traits;
    if (place_.selected) {
        QPainterPath path;
        path.addRect(frame.toQRectF());
        list.fill(path, resolved(Color::accentColor.opacity(0.35), environment));
    } else if (auto* background = childAt(element, backgroundSlot)) {
        background->render(list);
    }
    if (auto* content = childAt(element, contentSlot)) content->render(list);

    // A line between this row and the next, from the row's separator guides.
    if (place_.last || traits.separatorHidden || frame.height() <= 0) return;
    const auto insets = traits.insets.value_or(List::defaultRowInsets);
    const CGFloat leading = guideX(element, stored->leadingSetter, HorizontalAlignment::listRowSeparatorLeading.id)
                                .value_or(frame.minX() + insets.leading);
    const CGFloat trailing = guideX(element, stored->trailingSetter, HorizontalAlignment::listRowSeparatorTrailing.id)
                                 .value_or(frame.maxX() - insets.trailing);
    if (trailing <= leading) return;
    const bool tinted = traits.separatorTint && traits.tintEdges.contains(Edge::bottom);
    const Color color = tinted ? *traits.separatorTint : Color::primary.opacity(0.12);
    QPainterPath line;
    line.addRect(QRectF(leading, frame.maxY() - 1, trailing - leading, 1));
    list.fill(line, resolved(color, environment));
}

void ListRowNode::collectPreferences(const Element& element, PreferenceValues& values) const {
    auto& self = const_cast<Element&>(element);
    auto* content = childAt(self, contentSlot);
    const auto now = content ? content->preferences().get<ListRowTraitsKey>() : ListRowTraits{};
    values.remove<ListRowTraitsKey>(); // the row's own, not its list's
    auto stored = storedTraits(self);
    if (stored->traits == now) return;
    stored->traits = now;
    self.invalidate(Transaction::current());
}

} // namespace ui::detail
