#pragma once

#include "foundation/URL.h"
#include "ui/Text.h"
#include "ui/View.h"

namespace ui {

// A text (or any label) in the tint colour that opens its destination with the environment's
// openURL action when clicked.
class Link : public View {
public:
    Link(Text title, foundation::URL destination);
    Link(const char* title, foundation::URL destination)
        : Link(Text(title), std::move(destination)) {}
    Link(foundation::URL destination, View label);
};

} // namespace ui
