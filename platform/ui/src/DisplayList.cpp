#include "ui/DisplayList.h"

namespace ui {

DisplayList& DisplayList::layer(LayerStyle style) {
    auto content = std::make_shared<DisplayList>();
    DisplayList& inner = *content;
    items_.push_back(Layer{std::move(style), std::move(content)});
    return inner;
}

} // namespace ui
