#pragma once

#include "ui/Text.h"
#include "ui/View.h"

#include <string>

namespace ui {

// A title with an icon before it; a menu shows both.
class Label : public View {
public:
    Label(Text title, std::string systemImage);
    Label(Text title, View icon);
    Label(const char* title, std::string systemImage)
        : Label(Text(title), std::move(systemImage)) {}
};

namespace detail {
struct LabelModel {
    Text title;
    View icon;
    std::string systemImage; // empty for other icons
};
const LabelModel* labelModel(const View& view);
View makeLabel(LabelModel model);
} // namespace detail

} // namespace ui
