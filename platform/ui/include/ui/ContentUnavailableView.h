#pragma once

#include "ui/Text.h"
#include "ui/View.h"

#include <string>

namespace ui {

// What a view shows in place of content it does not have: a large label, a description and
// actions, centred one below the other; parts left empty take no space.
class ContentUnavailableView : public View {
public:
    ContentUnavailableView(View label, View description = {}, View actions = {});
    ContentUnavailableView(Text title, std::string systemImage, View description = {});
};

} // namespace ui
