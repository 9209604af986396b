#pragma once

#include "ui/View.h"

#include <vector>

namespace ui {

// Several views as one, without a layout of its own: a container lays out the children, and
// modifiers applied to the group apply to each child.
class Group : public View {
public:
    Group(std::vector<View> content);
};

} // namespace ui
