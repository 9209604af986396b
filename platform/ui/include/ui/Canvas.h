#pragma once

#include "graphics/CGSize.h"
#include "ui/ColorRenderingMode.h"
#include "ui/GraphicsContext.h"
#include "ui/View.h"

#include <functional>

namespace ui {

// A view that draws with immediate-mode calls: it takes the whole size it is offered, and its
// renderer draws into a GraphicsContext of that size (origin at the top leading corner) each
// time the view paints. What is drawn outside the canvas's frame is cut off.
//
// `symbols` are views the renderer can draw by their tag (resolveSymbol): they live in the tree
// with their own state, are laid out at their ideal size, take no events and are not painted
// except where the renderer draws them.
//
// `opaque` promises that the renderer covers every pixel; `rendersAsynchronously` is accepted
// and the canvas still renders with its view.
class Canvas : public View {
public:
    using Renderer = std::function<void(GraphicsContext&, graphics::CGSize)>;

    explicit Canvas(Renderer renderer, View symbols = {});
    Canvas(bool opaque, ColorRenderingMode colorMode, bool rendersAsynchronously, Renderer renderer,
           View symbols = {});
};

} // namespace ui
