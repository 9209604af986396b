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

// Where the row's separator ends, from the first view in it that sets the guide: that view and
// its guide for the size it had. Forgotten when the row is placed anew; moving the row along
// keeps it.
struct KeptGuide {
    bool kept = false;
    bool set = false; // whether a view sets it
    std::weak_ptr<ElementRef> setter;
    graphics::CGSize size;
    CGFloat value = 0;
};

struct StoredTraits {
    ListRowTraits traits;
    KeptGuide leading, trailing;
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

// The first view in the row that sets `guide`, and its value for the view's size.
const Element* guideSetter(const Element& element, const AlignmentID* guide, CGFloat& value) {
    if (!element.isVisible() || element.isHidden()) return nullptr;
    auto& mutableElement = const_cast<Element&>(element);
    if (auto found = mutableElement.explicitAlignment(guide, element.frame().size)) {
        value = *found;
        return &element;
    }
    for (const auto& child : element.children()) {
        if (const auto* setter = guideSetter(*child, guide, value)) return setter;
    }
    return nullptr;
}

// The x of the first view in the row that sets `guide`, in root coordinates: as kept while the
// view that set it is there at the same size, else looked for again.
std::optional<CGFloat> guideX(const Element& row, const AlignmentID* guide, KeptGuide& kept) {
    if (kept.kept && !kept.set) return std::nullopt;
    if (kept.kept) {
        if (auto ref = kept.setter.lock(); ref && ref->element && ref->element->frame().size == kept.size)
            return ref->element->frame().minX() + kept.value;
    }
    CGFloat value = 0;
    const auto* setter = guideSetter(row, guide, value);
    kept = {true, setter != nullptr, setter ? setter->reference() : std::weak_ptr<ElementRef>(),
            setter ? setter->frame().size : graphics::CGSize{}, value};
    if (!setter) return std::nullopt;
    return setter->frame().minX() + value;
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
    auto stored = storedTraits(element);
    stored->leading.kept = stored->trailing.kept = false;
}

void ListRowNode::render(const Element& element, DisplayList& list) const {
    const auto frame = element.frame();
    const auto& environment = element.environment();
    const auto traits = ListRowNode::traits(element);
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
    const auto insets = insetsOf(element);
    auto stored = storedTraits(const_cast<Element&>(element));
    const CGFloat leading = guideX(element, HorizontalAlignment::listRowSeparatorLeading.id, stored->leading)
                                .value_or(frame.minX() + insets.leading);
    const CGFloat trailing = guideX(element, HorizontalAlignment::listRowSeparatorTrailing.id, stored->trailing)
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
