#pragma once

#include "graphics/CGPoint.h"

#include <QPainterPath>
#include <QPointF>
#include <QTransform>

#include <optional>
#include <vector>

namespace ui {

class DisplayList;
class Element;
class Graph;

// How a node changes where its subtree takes pointer events. Leaves take a hit where what they
// record paints (a clear fill paints nothing); a subtree takes none at all when it is switched
// off or fully transparent, and with a content shape it takes hits exactly inside that shape,
// its own element standing in where no child does. A node's content transform
// (ViewNode::contentTransform) is undone first: the point is mapped back to where layout put
// the content, and a point that would lie behind the horizon takes no hit.
struct HitTestEffect {
    bool allowsHitTesting = true;
    double opacity = 1;               // any opacity above zero takes hits
    std::optional<QPainterPath> clip; // after the content transform, like DisplayList::LayerStyle::clip
    std::optional<QPainterPath> contentShape; // after the content transform
};

// Implemented by the nodes that change hit testing: opacity, clips, allowsHitTesting,
// contentShape, hidden. Fill in only what the node changes.
class HitTestingNode {
public:
    virtual ~HitTestingNode() = default;
    virtual void hitTestEffect(const Element& element, HitTestEffect& effect) const = 0;
};

// One element under the pointer and the point in its coordinates (root coordinates before the
// transforms above it).
struct HitPathEntry {
    Element* element = nullptr;
    QPointF point;
    QTransform toElement; // maps root points to `point`'s space
};

// The topmost element that takes a hit at `point` (root coordinates), followed by its
// ancestors up to the root; empty when nothing takes it.
std::vector<HitPathEntry> hitTest(Graph& graph, graphics::CGPoint point);

namespace detail {
// Whether something recorded in `list` paints at `point`, front to back.
bool displayListHits(const DisplayList& list, QPointF point);
} // namespace detail

} // namespace ui
