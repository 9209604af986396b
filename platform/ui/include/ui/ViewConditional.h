#pragma once

#include "ui/View.h"

namespace ui {

// One of two views by a condition. The branches are different views: flipping the condition
// drops the state of the branch that goes.
class ConditionalContent : public View {
public:
    ConditionalContent(bool condition, View trueContent, View falseContent = View());
};

} // namespace ui
