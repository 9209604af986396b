#pragma once

#include "ui/Alignment.h"
#include "ui/View.h"

#include <optional>
#include <vector>

namespace ui {

// Stacks that build and lay out only the rows inside the visible part of their scroll view.
// Rows are their content's children (a ForEach's rows count one by one); each takes its ideal
// length along the axis and the stack's width across it. A row scrolled away keeps its state
// while its identity remains, but disappears (onDisappear) until it shows again. Lengths of
// rows never built are estimated from those that were.
class LazyVStack : public View {
public:
    LazyVStack(std::vector<View> content);
    LazyVStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content);
};

class LazyHStack : public View {
public:
    LazyHStack(std::vector<View> content);
    LazyHStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content);
};

} // namespace ui
