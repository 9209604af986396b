#pragma once

#include "ViewKit/ViewOperation.h"

#include "graphics/CGFloat.h"
#include "ui/Image.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <optional>

namespace ViewKit {

// A list row that centres any view (typically an image) across the row, with no row background
// behind it and `bottomPadding` points of space below.
struct ListHeader {
    double bottomPadding = 0;
    std::function<ui::View()> view;

    ListHeader(std::optional<double> bottomPadding, std::function<ui::View()> view);

    ui::View body(ui::ViewContext& ctx) const;
};

// view | listHeader(20): the view as a list header.
ViewOperation listHeader(std::optional<double> bottomPadding = std::nullopt);
// The image fitted to its proportions, `height` points high (its natural size when none), as a
// list header.
ui::View listHeader(const ui::Image& image, std::optional<graphics::CGFloat> height);

} // namespace ViewKit
