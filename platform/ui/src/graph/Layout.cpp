#include "ui/Layout.h"

#include "ui/Element.h"
#include "ui/EnvironmentKeys.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace ui::detail {

namespace {

constexpr CGFloat infinity = std::numeric_limits<CGFloat>::infinity();

bool isRightToLeft(const Element& element) {
    return element.environment().get<LayoutDirectionKey>() == LayoutDirection::rightToLeft;
}

// In right-to-left layout leading and trailing trade places.
const AlignmentID* mirrored(const AlignmentID* id, bool rightToLeft) {
    if (!rightToLeft) return id;
    if (id == HorizontalAlignment::leading.id) return HorizontalAlignment::trailing.id;
    if (id == HorizontalAlignment::trailing.id) return HorizontalAlignment::leading.id;
    return id;
}

// The one layout child of `element` (through transparent children), or null when it has none
// or several. Most containers asked have one: no list of children is gathered for them.
Element* soleLayoutChild(Element& element, bool& several) {
    Element* found = nullptr;
    for (const auto& child : element.children()) {
        Element* inner = child->node().isTransparent() ? soleLayoutChild(*child, several) : child.get();
        if (several) return nullptr;
        if (!inner) continue;
        if (found) {
            several = true;
            return nullptr;
        }
        found = inner;
    }
    return found;
}

CGFloat guide(Element& child, graphics::CGSize size, const AlignmentID* id) {
    if (auto v = child.explicitAlignment(id, size)) return *v;
    return id->defaultValue(ViewDimensions{size.width, size.height, {}});
}

} // namespace

std::vector<StackChild> distribute(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                                   Axis axis, CGFloat spacing) {
    const std::size_t n = children.size();
    std::vector<StackChild> result(n);
    const auto cross = across(proposal, axis);
    const auto main = along(proposal, axis);
    if (!main) {
        for (std::size_t i = 0; i < n; ++i) {
            result[i].proposal = proposalOf(std::nullopt, cross, axis);
            result[i].size = children[i]->measure(result[i].proposal);
        }
        return result;
    }

    std::vector<CGFloat> minimum(n), flexibility(n);
    std::vector<double> priority(n);
    for (std::size_t i = 0; i < n; ++i) {
        minimum[i] = along(children[i]->measure(proposalOf(0.0, cross, axis)), axis);
        flexibility[i] = along(children[i]->measure(proposalOf(infinity, cross, axis)), axis) - minimum[i];
        priority[i] = children[i]->node().layoutPriority();
    }
    CGFloat remaining = *main - spacing * CGFloat(n > 0 ? n - 1 : 0);
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (priority[a] != priority[b]) return priority[a] > priority[b];
        return flexibility[a] < flexibility[b];
    });
    for (std::size_t start = 0; start < n;) {
        std::size_t end = start;
        while (end < n && priority[order[end]] == priority[order[start]])
            ++end;
        CGFloat reserved = 0;
        for (std::size_t k = end; k < n; ++k)
            reserved += minimum[order[k]];
        CGFloat available = remaining - reserved;
        for (std::size_t k = start; k < end; ++k) {
            const std::size_t i = order[k];
            const CGFloat share = std::max<CGFloat>(0, available / CGFloat(end - k));
            result[i].proposal = proposalOf(share, cross, axis);
            result[i].size = children[i]->measure(result[i].proposal);
            available -= along(result[i].size, axis);
            remaining -= along(result[i].size, axis);
        }
        start = end;
    }
    return result;
}

graphics::CGSize stackSize(const std::vector<Element*>& children, const ProposedViewSize& proposal, Axis axis,
                           CGFloat spacing, const AlignmentID* crossAlignment) {
    if (children.empty()) return {};
    const auto laid = distribute(children, proposal, axis, spacing);
    CGFloat main = spacing * CGFloat(children.size() - 1);
    CGFloat above = 0, below = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        main += along(laid[i].size, axis);
        const CGFloat g = guide(*children[i], laid[i].size, crossAlignment);
        above = std::max(above, g);
        below = std::max(below, across(laid[i].size, axis) - g);
    }
    return sizeOf(main, above + below, axis);
}

void stackPlace(const std::vector<Element*>& children, graphics::CGRect bounds,
                const ProposedViewSize& proposal, Axis axis, CGFloat spacing,
                const AlignmentID* crossAlignment, bool reversed) {
    if (children.empty()) return;
    const auto laid = distribute(children, proposal, axis, spacing);
    CGFloat above = 0;
    std::vector<CGFloat> guides(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        guides[i] = guide(*children[i], laid[i].size, crossAlignment);
        above = std::max(above, guides[i]);
    }
    const bool horizontal = axis == Axis::horizontal;
    CGFloat position = horizontal ? bounds.minX() : bounds.minY();
    if (reversed) position = horizontal ? bounds.maxX() : bounds.maxY();
    for (std::size_t i = 0; i < children.size(); ++i) {
        const auto size = laid[i].size;
        const CGFloat length = along(size, axis);
        const CGFloat crossOrigin = (horizontal ? bounds.minY() : bounds.minX()) + above - guides[i];
        CGFloat mainOrigin = reversed ? position - length : position;
        const graphics::CGPoint origin = horizontal ? graphics::CGPoint{mainOrigin, crossOrigin}
                                                    : graphics::CGPoint{crossOrigin, mainOrigin};
        children[i]->place({origin, size}, laid[i].proposal);
        position += reversed ? -(length + spacing) : length + spacing;
    }
}

graphics::CGSize overlaySize(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                             Alignment alignment) {
    if (children.empty()) return {};
    CGFloat left = 0, right = 0, top = 0, bottom = 0;
    for (auto* child : children) {
        const auto size = child->measure(proposal);
        const CGFloat h = guide(*child, size, alignment.horizontal.id);
        const CGFloat v = guide(*child, size, alignment.vertical.id);
        left = std::max(left, h);
        right = std::max(right, size.width - h);
        top = std::max(top, v);
        bottom = std::max(bottom, size.height - v);
    }
    return {left + right, top + bottom};
}

void overlayPlace(const std::vector<Element*>& children, graphics::CGRect bounds,
                  const ProposedViewSize& proposal, Alignment alignment) {
    for (auto* child : children) {
        const auto size = child->measure(proposal);
        child->place({alignedOrigin(*child, size, bounds, alignment), size}, proposal);
    }
}

std::vector<Element*> flatten(Element& child) {
    if (!child.node().isTransparent()) return {&child};
    return child.layoutChildren();
}

graphics::CGSize contentSize(const std::vector<Element*>& children, const ProposedViewSize& proposal,
                             bool layered, Alignment alignment) {
    if (children.empty()) return {};
    if (children.size() == 1) return children.front()->measure(proposal);
    if (layered) return overlaySize(children, proposal, alignment);
    return stackSize(children, proposal, Axis::vertical, defaultSpacing, HorizontalAlignment::center.id);
}

void placeContent(const std::vector<Element*>& children, graphics::CGRect bounds,
                  const ProposedViewSize& proposal, Alignment alignment, bool layered) {
    if (children.empty()) return;
    if (children.size() == 1) {
        auto* child = children.front();
        const auto size = child->measure(proposal);
        child->place({alignedOrigin(*child, size, bounds, alignment), size}, proposal);
        return;
    }
    if (layered) {
        overlayPlace(children, bounds, proposal, alignment);
        return;
    }
    const auto size =
        stackSize(children, proposal, Axis::vertical, defaultSpacing, HorizontalAlignment::center.id);
    const ViewDimensions outer{bounds.width(), bounds.height(), {}};
    const ViewDimensions inner{size.width, size.height, {}};
    const graphics::CGRect stackBounds{{bounds.minX() + alignment.horizontal.id->defaultValue(outer) -
                                            alignment.horizontal.id->defaultValue(inner),
                                        bounds.minY() + alignment.vertical.id->defaultValue(outer) -
                                            alignment.vertical.id->defaultValue(inner)},
                                       size};
    stackPlace(children, stackBounds, proposal, Axis::vertical, defaultSpacing,
               HorizontalAlignment::center.id, false);
}

graphics::CGSize unaryContentSize(Element& element, const ProposedViewSize& proposal) {
    bool several = false;
    if (auto* child = soleLayoutChild(element, several)) return child->measure(proposal);
    return several ? contentSize(element.layoutChildren(), proposal) : graphics::CGSize{};
}

void placeUnaryContent(Element& element, graphics::CGRect bounds, const ProposedViewSize& proposal,
                       Alignment alignment) {
    bool several = false;
    if (auto* child = soleLayoutChild(element, several)) {
        const auto size = child->measure(proposal);
        child->place({alignedOrigin(*child, size, bounds, alignment), size}, proposal);
    } else if (several) {
        placeContent(element.layoutChildren(), bounds, proposal, alignment);
    }
}

std::optional<CGFloat> contentAlignment(Element& element, const AlignmentID* id, graphics::CGSize size) {
    bool several = false;
    auto* child = soleLayoutChild(element, several);
    if (!child) return std::nullopt;
    return child->explicitAlignment(id, size);
}

graphics::CGPoint alignedOrigin(Element& child, graphics::CGSize size, graphics::CGRect bounds,
                                Alignment alignment) {
    const bool rtl = isRightToLeft(child);
    const AlignmentID* h = mirrored(alignment.horizontal.id, rtl);
    const ViewDimensions container{bounds.width(), bounds.height(), {}};
    const CGFloat x = bounds.minX() + h->defaultValue(container) - guide(child, size, h);
    const CGFloat y = bounds.minY() + alignment.vertical.id->defaultValue(container) -
                      guide(child, size, alignment.vertical.id);
    return {x, y};
}

void reconcileLayered(Element& element, View primary, View secondary, bool secondaryInFront) {
    ChildSpec first{std::move(primary), {0, {}, false, 0}, {}};
    ChildSpec second{std::move(secondary), {1, {}, false, 0}, {}};
    std::vector<ChildSpec> specs;
    if (secondaryInFront) {
        specs.push_back(std::move(first));
        specs.push_back(std::move(second));
    } else {
        specs.push_back(std::move(second));
        specs.push_back(std::move(first));
    }
    element.reconcile(std::move(specs));
}

} // namespace ui::detail
