#include "ui/TabView.h"

#include "ui/Color.h"
#include "ui/Divider.h"
#include "ui/Font.h"
#include "ui/HierarchicalShapeStyle.h"
#include "ui/Image.h"
#include "ui/Rectangle.h"
#include "ui/RoundedRectangle.h"
#include "ui/Stack.h"
#include "ui/ViewContext.h"

namespace ui {
namespace {

View tabItem(const Tab& tab, bool selected, std::function<void()> select) {
    View item = VStack(HorizontalAlignment::center, 3,
                       {View(Image::systemName(tab.systemImage)).frame(20, 20),
                        View(tab.title).font(Font::caption())})
                    .padding(EdgeSet::horizontal, 10)
                    .padding(EdgeSet::vertical, 5);
    if (selected) {
        item = item.foregroundStyle(Color::accentColor).background(RoundedRectangle(6).fill(Color::gray.opacity(0.18)));
    } else {
        item = item.foregroundStyle(HierarchicalShapeStyle::secondary);
    }
    return item.contentShape(Rectangle())
        .onTapGesture(std::move(select))
        .accessibilityAddTraits(selected ? AccessibilityTraits::isButton | AccessibilityTraits::isSelected
                                         : AccessibilityTraits::isButton);
}

} // namespace

View TabView::body(ViewContext& ctx) const {
    if (tabs.empty()) return View();
    // Without a binding the selection is our own, starting at the first tab.
    auto own = ctx.state<foundation::AnyHashable>("selection", tabs.front().value);
    const Binding<foundation::AnyHashable> bound = selection ? *selection : own.binding();
    const auto current = bound.get();

    std::size_t shown = 0;
    for (std::size_t i = 0; i < tabs.size(); ++i)
        if (tabs[i].value == current) {
            shown = i;
            break;
        }

    std::vector<View> items;
    for (std::size_t i = 0; i < tabs.size(); ++i)
        items.push_back(tabItem(tabs[i], i == shown, [bound, value = tabs[i].value] { bound.set(value); }));
    // The content's identity is its tab, so switching builds the other tab's views afresh.
    return VStack(HorizontalAlignment::center, 0,
                  {View(HStack(VerticalAlignment::center, 2, std::move(items))).padding(EdgeSet::vertical, 6),
                   Divider(), tabs[shown].content.idErased(tabs[shown].value)});
}

} // namespace ui
