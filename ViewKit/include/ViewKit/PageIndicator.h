#pragma once

#include "ViewKit/PageIndicatorStyle.h"

#include "ui/Binding.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

namespace ViewKit {

// A row of one dot per page, the current page's dot marked; tapping a dot makes its page
// current (again, for the current one). An index outside the pages marks no dot; a negative
// count draws none. The dots look as the environment's PageIndicatorStyle says.
struct PageIndicator {
    ui::Binding<int> currentPageIndex;
    int numberOfPages = 0;

    PageIndicator(int numberOfPages, ui::Binding<int> currentPageIndex)
        : currentPageIndex(std::move(currentPageIndex))
        , numberOfPages(numberOfPages) {}

    ui::View body(ui::ViewContext& ctx) const;
};

} // namespace ViewKit
