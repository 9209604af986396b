#pragma once

#include "ui/Alignment.h"
#include "ui/View.h"

#include <optional>
#include <vector>

namespace ui {

// Stacks line their children up along an axis (HStack, VStack) or on top of each other
// (ZStack). How the length is shared out: the stack proposes each child its share of what is
// left after spacing, by layout priority (highest first; each group keeps back the minimum
// lengths of lower groups) and, within a priority, least flexible child first, where a child's
// flexibility is its length at an infinite proposal minus its length at zero. Across the axis
// each child gets the stack's proposal and the children line up on the alignment guide. The
// spacing (8 unless given) goes between every two children, spacers included. In a
// right-to-left environment an HStack runs from the right.
class HStack : public View {
public:
    HStack(std::vector<View> content);
    HStack(VerticalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content);
};

class VStack : public View {
public:
    VStack(std::vector<View> content);
    VStack(HorizontalAlignment alignment, std::optional<CGFloat> spacing, std::vector<View> content);
};

// Children on top of each other, later ones in front; each gets the whole proposal.
class ZStack : public View {
public:
    ZStack(std::vector<View> content);
    ZStack(Alignment alignment, std::vector<View> content);
};

} // namespace ui
