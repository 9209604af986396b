// The drag under way in a graph: what it carries, the drop target under the pointer, how its
// source hears of its end, and the preview the window's drag layer shows under the pointer.
#pragma once

#include "foundation/NSItemProvider.h"
#include "graphics/CGPoint.h"
#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace ui {
class Graph;
class Element;
} // namespace ui

namespace ui::detail {

struct ElementRef;

// What a source starts a drag with.
struct DragStart {
    std::shared_ptr<const foundation::NSItemProvider> provider;
    // Runs once when the drag ends: whether a target performed the drop.
    std::function<void(bool)> ended;
    // Shown `size` large, its top-left corner `grab` up and left of the pointer.
    View preview;
    graphics::CGSize size;
    graphics::CGSize grab;
};

// Starts a drag and returns its number; a drag still under way is cancelled first.
std::uint64_t beginDrag(Graph& graph, DragStart start);
// Whether a drag is under way; with `drag`, whether it is that one.
bool isDragging(Graph& graph, std::optional<std::uint64_t> drag = std::nullopt);
// The pointer moved to `location` (root coordinates): targets are entered, updated and exited.
void moveDrag(Graph& graph, graphics::CGPoint location);
// The pointer was released: the target under it, if any, validates and performs the drop.
void endDrag(Graph& graph, graphics::CGPoint location);
// The drag ends without a drop (the press was cancelled).
void cancelDrag(Graph& graph);
// What the drag layer shows: the preview and where, in root coordinates.
struct DragPreviewPlacement {
    View preview;
    graphics::CGRect frame;
};
std::optional<DragPreviewPlacement> dragPreview(Graph& graph);
// The layer that shows it: invalidated whenever the placement changes.
void setDragLayer(Graph& graph, std::weak_ptr<ElementRef> layer);

// A picture of `element` as it is drawn now: a view of its size that paints what it painted.
View snapshotOf(const Element& element);
// `root` with the layer that shows the preview of the drag under way above all of it, unclipped
// by anything inside. Hosts wrap their roots with it.
View withDragLayer(View root);

} // namespace ui::detail
