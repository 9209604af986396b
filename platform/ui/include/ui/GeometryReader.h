#pragma once

#include "ui/Geometry.h"
#include "ui/View.h"

#include <functional>

namespace ui {

// Takes all the space it is offered (10 points along an unspecified axis) and builds its
// content from its own size and place, laid out at its top leading corner.
class GeometryReader : public View {
public:
    explicit GeometryReader(std::function<View(const GeometryProxy&)> content);
};

} // namespace ui
