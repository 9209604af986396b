// The drag under way in a graph: what it carries and the drop target under the pointer.
#pragma once

#include "foundation/NSItemProvider.h"
#include "graphics/CGPoint.h"

#include <memory>

namespace ui {
class Graph;
}

namespace ui::detail {

// Starts a drag carrying `provider`; a drag still under way is cancelled first.
void beginDrag(Graph& graph, std::shared_ptr<const foundation::NSItemProvider> provider);
bool isDragging(Graph& graph);
// The pointer moved to `location` (root coordinates): targets are entered, updated and exited.
void moveDrag(Graph& graph, graphics::CGPoint location);
// The pointer was released: the target under it, if any, validates and performs the drop.
void endDrag(Graph& graph, graphics::CGPoint location);
// The drag ends without a drop (the press was cancelled).
void cancelDrag(Graph& graph);

} // namespace ui::detail
