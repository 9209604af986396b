#include "ViewKit/PageIndicator.h"

#include "ViewKit/MainActor.h"

#include "ui/Button.h"
#include "ui/ButtonStyle.h"
#include "ui/Circle.h"
#include "ui/Stack.h"
#include "ui/Transaction.h"

#include <vector>

namespace ViewKit {

PageIndicatorStyle::PageIndicatorStyle(ui::Color dotColor, graphics::CGFloat dotSize,
                                       std::optional<graphics::CGFloat> dotSpacing, ui::Color currentDotColor,
                                       graphics::CGFloat currentDotSize, bool isAnimated)
    : currentDotColor(std::move(currentDotColor))
    , currentDotSize(currentDotSize)
    , dotColor(std::move(dotColor))
    , dotSize(dotSize)
    , dotSpacing(dotSpacing)
    , isAnimated(isAnimated) {}

ViewOperation pageIndicatorStyle(PageIndicatorStyle style) {
    detail::requireMainActor("pageIndicatorStyle");
    return ViewOperation([style](const ui::View& view) { return view.environment(PageIndicatorStyleKey{}, style); });
}

ui::View PageIndicator::body(ui::ViewContext& ctx) const {
    detail::requireMainActor("PageIndicator");
    const PageIndicatorStyle style = ctx.environment<PageIndicatorStyleKey>();
    const int current = currentPageIndex.get();
    std::vector<ui::View> dots;
    for (int i = 0; i < numberOfPages; ++i) {
        const bool isCurrent = i == current;
        const ui::View dot = ui::View(ui::Circle())
                                 .aspectRatio(1.0, ui::ContentMode::fit)
                                 .frame(std::nullopt, isCurrent ? style.currentDotSize : style.dotSize)
                                 .foregroundColor(isCurrent ? style.currentDotColor : style.dotColor);
        const auto tap = [binding = currentPageIndex, animated = style.isAnimated, i] {
            detail::requireMainActor("PageIndicator");
            if (animated)
                ui::withAnimation([&] { binding.set(i); });
            else
                binding.set(i);
        };
        dots.push_back(ui::View(ui::Button(tap, dot)).buttonStyle(ui::PlainButtonStyle{}).id(i));
    }
    return ui::HStack(ui::VerticalAlignment::center, style.dotSpacing, std::move(dots));
}

} // namespace ViewKit
