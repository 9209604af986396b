#include "ui/Toolbar.h"

#include "graphics/NSColor.h"
#include "ui/Color.h"
#include "ui/Element.h"
#include "ui/LabelStyle.h"
#include "ui/Layout.h"
#include "ui/Rectangle.h"
#include "ui/Spacer.h"
#include "ui/Stack.h"
#include "ui/ViewNodes.h"

#include <algorithm>
#include <cmath>

namespace ui {

View View::toolbar(std::vector<ToolbarItem> items) const {
    return collectErased([items = std::move(items)](const Element&, PreferenceValues& values) {
        auto all = values.get<ToolbarItemsKey>();
        all.insert(all.end(), items.begin(), items.end());
        values.set<ToolbarItemsKey>(std::move(all));
    });
}

CGFloat toolbarHeight(WindowToolbarStyle style) {
    return style == WindowToolbarStyle::unifiedCompact ? 38 : 52;
}

namespace {

Color systemColor(const char* name, const Color& fallback) {
    const auto color = graphics::NSColor::systemColor(name);
    return color ? Color(*color) : fallback;
}

View toolbarBar(const std::vector<ToolbarItem>& items) {
    std::vector<View> leading, middle, trailing;
    for (const auto& original : items) {
        // Items keep their ideal size; the spacers give way. Their labels show as icons.
        const ToolbarItem item(original.placement,
                               original.content.environment<LabelStyleKey>(LabelStyle::iconOnly).fixedSize());
        switch (item.placement) {
        case ToolbarItemPlacement::navigation:
            leading.push_back(item.content);
            break;
        case ToolbarItemPlacement::principal:
            middle.push_back(item.content);
            break;
        case ToolbarItemPlacement::automatic:
        case ToolbarItemPlacement::primaryAction:
            trailing.push_back(item.content);
            break;
        }
    }
    const View separator = Rectangle().fill(systemColor("separatorColor", Color::gray)).frame(std::nullopt, 1);
    FlexibleFrame fill;
    fill.maxWidth = fill.maxHeight = CGFloat(INFINITY);
    return HStack(VerticalAlignment::center, 12,
                  {HStack(VerticalAlignment::center, 8, std::move(leading)), Spacer(),
                   HStack(VerticalAlignment::center, 8, std::move(middle)), Spacer(),
                   HStack(VerticalAlignment::center, 8, std::move(trailing))})
        .padding(EdgeSet::horizontal, 12)
        .frame(fill)
        .background(View(Color::primary.opacity(0.05)))
        .overlay(separator, Alignment::bottom);
}

struct LastItems {
    PreferenceValues values;
    bool seen = false;
};

// The content with the title area above it. The area is made from the items the content
// handed up after layout, and made again in the same update when they changed; the items stop
// here, so an outer window does not show them twice.
class ToolbarAreaNode final : public ViewNode {
public:
    explicit ToolbarAreaNode(View content)
        : content_(std::move(content)) {}
    std::string_view typeName() const override { return "ToolbarArea"; }

    static std::shared_ptr<LastItems> last(Element& element) {
        return element.slot<LastItems>("\x01toolbarItems", [] { return std::make_shared<LastItems>(); });
    }
    static Element* content(Element& element) { return element.children()[0].get(); }
    static Element* bar(Element& element) { return element.children()[1].get(); }
    static bool hasItems(Element& element) { return !last(element)->values.get<ToolbarItemsKey>().empty(); }
    static CGFloat barHeight(Element& element) {
        return hasItems(element) ? toolbarHeight(element.environment().get<WindowToolbarStyleKey>()) : 0;
    }

    void update(Element& element) const override {
        const auto items = last(element)->values.get<ToolbarItemsKey>();
        detail::reconcileLayered(element, content_, items.empty() ? View() : toolbarBar(items), true);
    }
    graphics::CGSize sizeThatFits(Element& element, const ProposedViewSize& proposal) const override {
        const CGFloat height = barHeight(element);
        ProposedViewSize below = proposal;
        if (below.height) below.height = std::max<CGFloat>(0, *below.height - height);
        auto size = detail::contentSize(detail::flatten(*content(element)), below);
        size.height += height;
        return size;
    }
    void placeChildren(Element& element, const ProposedViewSize&) const override {
        const auto frame = element.layoutFrame();
        const CGFloat height = std::min(barHeight(element), frame.size.height);
        const graphics::CGRect area{frame.origin, {frame.size.width, height}};
        const graphics::CGRect below{{frame.origin.x, frame.origin.y + height},
                                     {frame.size.width, frame.size.height - height}};
        detail::placeContent(detail::flatten(*content(element)), below, ProposedViewSize(below.size),
                             Alignment::center);
        detail::placeContent(detail::flatten(*bar(element)), area, ProposedViewSize(area.size), Alignment::center,
                             true);
    }
    void collectPreferences(const Element& element, PreferenceValues& values) const override {
        auto& self = const_cast<Element&>(element);
        const auto& collected = content(self)->preferences();
        auto stored = last(self);
        const bool unchanged = stored->seen ? stored->values.sameValue(detail::keyID<ToolbarItemsKey>(), collected)
                                            : !collected.contains<ToolbarItemsKey>();
        values.remove<ToolbarItemsKey>();
        stored->seen = true;
        if (unchanged) return;
        stored->values = collected;
        self.invalidate(Transaction::current());
    }

private:
    View content_;
};

} // namespace

CGFloat toolbarAreaHeight(Element& element) {
    // The graph's root element holds the area as its only child, or as the primary content of
    // the overlays hosts draw the drag preview and presentations in (their first child).
    auto inner = [](Element* e) -> Element* {
        const auto& children = e->children();
        const auto type = e->node().typeName();
        if (children.size() == 1 || (!children.empty() && (type == "OverlayPreferenceValue" || type == "Overlay")))
            return children[0].get();
        return nullptr;
    };
    for (Element* e = &element; e; e = inner(e)) {
        if (e->nodeAs<ToolbarAreaNode>()) return ToolbarAreaNode::barHeight(*e);
    }
    return 0;
}

View toolbarArea(View content) {
    return View(std::make_shared<ToolbarAreaNode>(std::move(content)));
}

} // namespace ui
