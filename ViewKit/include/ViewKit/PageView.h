#pragma once

#include "ViewKit/PageIndicatorStyle.h"

#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <vector>

namespace ViewKit {

// Pages side by side in a strip, each as large as the view, the strip scrolled (animated) to
// the page of the bound index whenever it changes. A quick horizontal swipe over the strip
// turns to the next or previous page; the indicator at the bottom shows the pages and turns to
// a tapped one. The strip follows only the index, so it takes no wheel or touchpad scrolling;
// clicks still reach the controls on the pages. An index outside the pages scrolls nowhere.
struct PageView {
    ui::Binding<int> currentPageIndex;
    PageIndicatorDisplayMode pageIndicatorDisplayMode = PageIndicatorDisplayMode::automatic;
    std::vector<ui::View> pages;

    PageView(std::vector<ui::View> pages, ui::Binding<int> currentPageIndex,
             PageIndicatorDisplayMode pageIndicatorDisplayMode);
    // One page per item, made here, once, in item order.
    template <class Items, class Content>
    PageView(const Items& items, ui::Binding<int> currentPageIndex, PageIndicatorDisplayMode pageIndicatorDisplayMode,
             Content content)
        : currentPageIndex(std::move(currentPageIndex))
        , pageIndicatorDisplayMode(pageIndicatorDisplayMode) {
        for (const auto& item : items)
            pages.push_back(ui::View(content(item)));
    }

    bool showsPageIndicator() const;
    // A swipe to the left: the next page, if there is one.
    void showNextPage() const;
    // A swipe to the right: the previous page, if the index is above 0.
    void showPreviousPage() const;

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
