#include "ViewKit/PageView.h"

#include "ViewKit/MainActor.h"
#include "ViewKit/PageIndicator.h"
#include "ViewKit/SwipeGestureViewModifier.h"

#include "ui/GeometryReader.h"
#include "ui/Rectangle.h"
#include "ui/ScrollDisabled.h"
#include "ui/ScrollView.h"
#include "ui/Stack.h"
#include "ui/Transaction.h"

#include <memory>

namespace ViewKit {

namespace {

void turnTo(const ui::Binding<int>& index, int page) {
    ui::withAnimation([&] { index.set(page); });
}

} // namespace

PageView::PageView(std::vector<ui::View> pages, ui::Binding<int> currentPageIndex,
                   PageIndicatorDisplayMode pageIndicatorDisplayMode)
    : currentPageIndex(std::move(currentPageIndex))
    , pageIndicatorDisplayMode(pageIndicatorDisplayMode)
    , pages(std::move(pages)) {}

bool PageView::showsPageIndicator() const {
    switch (pageIndicatorDisplayMode) {
    case PageIndicatorDisplayMode::always: return true;
    case PageIndicatorDisplayMode::automatic: return pages.size() > 1;
    case PageIndicatorDisplayMode::never: return false;
    }
    return false;
}

void PageView::showNextPage() const {
    detail::requireMainActor("PageView");
    const int index = currentPageIndex.get();
    if (index < static_cast<int>(pages.size()) - 1) turnTo(currentPageIndex, index + 1);
}

void PageView::showPreviousPage() const {
    detail::requireMainActor("PageView");
    const int index = currentPageIndex.get();
    if (index >= 1) turnTo(currentPageIndex, index - 1);
}

ui::View PageView::body(ui::ViewContext&) const {
    detail::requireMainActor("PageView");
    const PageView view = *this;
    return ui::GeometryReader([view](const ui::GeometryProxy& geometry) {
        const graphics::CGSize size = geometry.size();
        return ui::ScrollViewReader([view, size](const ui::ScrollViewProxy& scroller) {
            std::vector<ui::View> framed;
            framed.reserve(view.pages.size());
            for (std::size_t offset = 0; offset < view.pages.size(); ++offset) {
                const int id = static_cast<int>(offset);
                framed.push_back(view.pages[offset].frame(size.width, size.height).id(id).tag(id));
            }
            // The strip follows the index, from whatever wrote it; the first time without
            // an animation, so the view opens on its page.
            const auto follow = [scroller](int old, int index) {
                detail::requireMainActor("PageView");
                if (old == index)
                    scroller.scrollTo(index);
                else
                    ui::withAnimation([&] { scroller.scrollTo(index); });
            };
            const ui::View strip =
                ui::scrollDisabled(ui::ScrollView(ui::AxisSet::horizontal, false,
                                                  ui::HStack(ui::VerticalAlignment::center, std::nullopt,
                                                             std::move(framed))),
                                   true)
                    .contentShape(ui::Rectangle()) |
                onSwipeGesture(1.0, 10, 100000, std::make_shared<GestureTimer>(), {}, [view] { view.showNextPage(); },
                               [view] { view.showPreviousPage(); });
            const ui::View indicator = view.showsPageIndicator()
                                           ? ui::View(PageIndicator(static_cast<int>(view.pages.size()),
                                                                    view.currentPageIndex))
                                                 .padding()
                                           : ui::View();
            return ui::ZStack(ui::Alignment::bottom, {strip.onChange(view.currentPageIndex.get(), true, follow),
                                                      indicator});
        });
    });
}

} // namespace ViewKit
