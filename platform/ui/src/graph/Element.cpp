#include "ui/Element.h"

#include "ui/AlikeNode.h"
#include "ui/DisplayList.h"
#include "ui/Graph.h"
#include "ui/Layout.h"
#include "ui/ViewNodes.h"
#include "ui/ZIndex.h"

#include "graph/PreferenceCollectors.h"
#include "painting/PaintedRuns.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

namespace ui {

namespace {

struct ChildKeyHash {
    std::size_t operator()(const ChildKey& key) const {
        return key.id.hash() ^ (key.slot * 0x9e3779b97f4a7c15ULL) ^ (key.occurrence << 7) ^ key.isExplicit;
    }
};

// Wrappers hand on what concerns the view they wrap: its insertion, its removal.
bool wraps(const ViewNode& node) {
    return node.isTransparent() || dynamic_cast<const detail::WrapperNode*>(&node) != nullptr;
}

graphics::CGPoint displaced(graphics::CGPoint p, graphics::CGSize by) {
    return {p.x + by.width, p.y + by.height};
}

graphics::CGSize movement(graphics::CGPoint from, graphics::CGPoint to) {
    return {to.x - from.x, to.y - from.y};
}

// How far past a clip a painted extent may reach and still be painted, for drawings whose
// bounds are a little short of what they paint (overhanging glyphs).
constexpr CGFloat kCullMargin = 16;

} // namespace

Element::Element(Graph& graph, Element* parent, ChildKey key, std::shared_ptr<const ViewNode> node)
    : graph_(graph)
    , parent_(parent)
    , depth_(parent ? parent->depth_ + 1 : 0)
    , key_(std::move(key))
    , node_(std::move(node))
    , ref_(std::make_shared<detail::ElementRef>(detail::ElementRef{this})) {}

Element::~Element() {
    ref_->element = nullptr;
    graph_.forget(*this);
    if (!ghosts_.empty()) graph_.forgetGhostHolder(*this);
    // Children go first, while their parent is still whole.
    ghosts_.clear();
    children_.clear();
}

void Element::refresh(const Transaction& transaction) {
    forcedTransaction_ = transaction;
    dirty_ = true;
    pendingIsFrame_ = false;
    update(node_, environment_);
}

void Element::invalidate(const Transaction& transaction) {
    if (!dirty_ || pendingIsFrame_) pendingTransaction_ = transaction;
    pendingIsFrame_ = false;
    dirty_ = true;
    graph_.invalidate(*this);
}

void Element::invalidateForAnimationFrame() {
    if (!dirty_) {
        pendingTransaction_ = Transaction();
        pendingIsFrame_ = true;
    }
    dirty_ = true;
    graph_.invalidate(*this);
}

void Element::invalidateLayout() {
    measured_.clear();
    noteChange();
    graph_.requestLayout();
}

void Element::noteChange() {
    const auto stamp = graph_.nextChangeStamp();
    for (Element* e = this; e; e = e->parent_)
        e->changeStamp_ = stamp;
}

void Element::notePositionDependent() {
    readsPosition_ = true;
    for (Element* e = this; e && !e->positionDependent_; e = e->parent_)
        e->positionDependent_ = true;
}

std::uint64_t Element::cacheStamp() const {
    return std::max(changeStamp_, graph_.keptLayoutEpoch());
}

Transaction Element::incomingTransaction() {
    if (forcedTransaction_) {
        Transaction forced = std::move(*forcedTransaction_);
        forcedTransaction_.reset();
        return forced;
    }
    if (!dirty_) return graph_.updateTransaction();
    // Frames bring no transaction, so no transform reaches them either.
    if (pendingIsFrame_) return Transaction();
    return graph_.transformedByAncestors(*this, pendingTransaction_);
}

bool Element::needsBody() const {
    if (fresh_ || dirtyDuringBody_ || nodeChanged_) return true;
    if (!environmentChanged_) return false;
    if (body_.readsAll) return true;
    return std::any_of(body_.reads.begin(), body_.reads.end(),
                       [&](detail::KeyID key) { return !environment_.sameValue(key, body_.environment); });
}

void Element::update(std::shared_ptr<const ViewNode> node, const EnvironmentValues& environment) {
    const bool sameNode = node == node_ || (!fresh_ && node->isEqual(*node_));
    const bool sameEnvironment = !fresh_ && environment == environment_;
    if (sameNode && sameEnvironment && !dirty_ && !fresh_) return;
    // A node alike the last leaves what was worked out from it valid: what changes below marks
    // itself changed as its children update.
    const bool keepsResults = sameEnvironment && !dirty_ && !fresh_ && detail::alike(*node, *node_);
    if (!keepsResults) noteChange();
    nodeChanged_ = !sameNode;
    environmentChanged_ = !sameEnvironment;
    if (!keepsResults && (nodeChanged_ || environmentChanged_)) measured_.clear();
    node_ = std::move(node);
    environment_ = environment;
    if (dirty_ && !pendingIsFrame_) graph_.noteLayoutCause(pendingTransaction_);
    transaction_ = incomingTransaction();
    pendingTransaction_ = Transaction();
    pendingIsFrame_ = false;
    // Cleared first, so that a write made while the body runs is not lost: it asks for
    // another pass instead.
    dirtyDuringBody_ = dirty_;
    dirty_ = false;
    graph_.forget(*this);
    // Everything below is updated with this element's transaction, as its node changes it.
    Transaction below = transaction_;
    node_->transformTransaction(*this, below);
    // The layout after this update moves what it moves under the same transactions.
    placementPass_ = graph_.passNumber();
    placementReceived_ = transaction_;
    placementReceived_.completion.reset();
    placementBelow_ = below;
    placementBelow_.completion.reset();
    // Kept for reading only: a completion waits on the animations, not on the element.
    struct Release {
        Element& element;
        ~Release() { element.transaction_.completion.reset(); }
    } release{*this};
    graph_.withUpdateTransaction(below, [&] { node_->update(*this); });
    dirtyDuringBody_ = false;
    fresh_ = false;
    nodeChanged_ = false;
    environmentChanged_ = false;
    graph_.setNeedsLayout();
}

void Element::reconcile(std::vector<ChildSpec> specs) {
    // Mostly the same children come in the same order (every wrapper has one): they are
    // updated where they stand.
    const bool same = ghosts_.empty() && specs.size() == children_.size() &&
                      std::equal(specs.begin(), specs.end(), children_.begin(), [](const ChildSpec& spec, const auto& child) {
                          return child->key_ == spec.key && child->node_->kind() == spec.view.node()->kind();
                      });
    if (same) {
        for (std::size_t i = 0; i < specs.size(); ++i)
            children_[i]->update(specs[i].view.node(), specs[i].environment ? *specs[i].environment : environment_);
        return;
    }
    // Ghosts are no longer reachable by identity: a view coming back is a new one.
    std::unordered_map<ChildKey, std::size_t, ChildKeyHash> old;
    old.reserve(children_.size());
    std::vector<Element*> oldOrder;
    oldOrder.reserve(children_.size());
    for (std::size_t i = 0; i < children_.size(); ++i) {
        old.emplace(children_[i]->key_, i);
        oldOrder.push_back(children_[i].get());
    }

    std::unordered_map<ChildKey, std::size_t, ChildKeyHash> seen;
    std::vector<std::unique_ptr<Element>> next;
    next.reserve(specs.size());
    std::vector<Element*> made;
    auto finish = [&](bool settle) {
        auto gone = std::exchange(children_, std::move(next));
        if (settle) settleGone(gone, oldOrder);
        for (auto& left : gone) {
            if (left) left->setVisibleRecursively(false);
        }
        if (visible_) {
            for (auto* child : made) {
                if (!child->hidden_) child->setVisibleRecursively(true);
            }
        }
    };
    try {
        for (auto& wanted : specs) {
            auto& count = seen[wanted.key];
            wanted.key.occurrence = count++;
            const auto& node = wanted.view.node();
            const EnvironmentValues& environment = wanted.environment ? *wanted.environment : environment_;
            std::unique_ptr<Element> child;
            if (auto it = old.find(wanted.key); it != old.end()) {
                auto& candidate = children_[it->second];
                if (candidate && candidate->node_->kind() == node->kind()) child = std::move(candidate);
            }
            if (!child) {
                child = std::make_unique<Element>(graph_, this, wanted.key, node);
                child->inserted_ = !fresh_ || (inserted_ && wraps(*node_));
                made.push_back(child.get());
            }
            // Kept before its body runs, so that a body that throws loses nothing.
            Element& kept = *next.emplace_back(std::move(child));
            kept.update(node, environment);
        }
    } catch (...) {
        // Children not reached yet stay as they were, so the tree has no holes.
        for (auto& left : children_) {
            if (left) next.push_back(std::move(left));
        }
        finish(false);
        throw;
    }
    finish(true);
}

void Element::settleGone(std::vector<std::unique_ptr<Element>>& gone, const std::vector<Element*>& oldOrder) {
    // Those that animate their leaving first; nothing is moved until none of them can throw.
    std::vector<std::optional<Ghost>> leaving(gone.size());
    for (std::size_t i = 0; i < gone.size(); ++i) {
        if (gone[i]) leaving[i] = leaveAnimated(*gone[i]);
    }
    const bool anyLeaving =
        std::any_of(leaving.begin(), leaving.end(), [](const auto& g) { return g.has_value(); });
    if (!anyLeaving && ghosts_.empty()) return;

    // Each ghost paints where it stood: after the sibling that preceded it, wherever that went.
    std::unordered_map<const Element*, std::size_t> index;
    for (std::size_t j = 0; j < children_.size(); ++j)
        index.emplace(children_[j].get(), j);
    std::vector<Ghost> ghosts;
    ghosts.reserve(ghosts_.size() + gone.size());
    std::size_t cursor = 0;
    std::size_t carried = 0;
    auto carry = [&](std::size_t upTo) {
        while (carried < ghosts_.size() && ghosts_[carried].position <= upTo) {
            ghosts.push_back(std::move(ghosts_[carried++]));
            ghosts.back().position = cursor;
        }
    };
    for (std::size_t i = 0; i < oldOrder.size(); ++i) {
        carry(i);
        if (leaving[i]) {
            leaving[i]->element = std::move(gone[i]);
            leaving[i]->element->ghost_ = true;
            leaving[i]->position = cursor;
            ghosts.push_back(std::move(*leaving[i]));
        } else if (auto it = index.find(oldOrder[i]); it != index.end()) {
            cursor = it->second + 1;
        }
    }
    carry(std::numeric_limits<std::size_t>::max());
    std::stable_sort(ghosts.begin(), ghosts.end(),
                     [](const Ghost& a, const Ghost& b) { return a.position < b.position; });
    ghosts_ = std::move(ghosts);
    if (ghosts_.empty())
        graph_.forgetGhostHolder(*this);
    else
        graph_.addGhostHolder(*this);
}

std::optional<Element::Ghost> Element::leaveAnimated(Element& child) {
    if (!visible_ || child.hidden_ || !child.visible_) return std::nullopt;
    Transaction transaction = graph_.updateTransaction();
    if (transaction.disablesAnimations) return std::nullopt;
    // The leaving is watched through a completion of its own, which the outer one waits for.
    auto outer = transaction.completion;
    auto removal = std::make_shared<detail::AnimationCompletion>(outer ? std::function<void()>([outer] {})
                                                                       : std::function<void()>());
    std::weak_ptr<detail::AnimationCompletion> watch = removal;
    transaction.completion = std::move(removal);
    bool began = false;
    for (Element* e = &child; e;) {
        if (e->node_->beginRemoval(*e, transaction)) {
            began = true;
            break;
        }
        if (e->children_.size() != 1 || !wraps(*e->node_)) break;
        e->node_->transformTransaction(*e, transaction);
        e = e->children_.front().get();
    }
    transaction = Transaction();
    // Nothing animated: the view goes at once.
    if (!began || watch.expired()) return std::nullopt;
    const Element* container = this;
    while (container->parent_ && container->node_->isTransparent())
        container = container->parent_;
    Ghost ghost;
    ghost.position = 0;
    ghost.containerOrigin = container->layoutFrame_.origin;
    ghost.removal = std::move(watch);
    return ghost;
}

bool Element::isLeaving() const {
    for (const Element* e = this; e; e = e->parent_) {
        if (e->ghost_) return true;
    }
    return false;
}

std::vector<Element*> Element::removalGhosts() const {
    std::vector<Element*> result;
    result.reserve(ghosts_.size());
    for (const auto& ghost : ghosts_)
        result.push_back(ghost.element.get());
    return result;
}

void Element::dropFinishedGhosts() {
    std::vector<std::unique_ptr<Element>> finished;
    for (auto it = ghosts_.begin(); it != ghosts_.end();) {
        if (it->removal.expired()) {
            finished.push_back(std::move(it->element));
            it = ghosts_.erase(it);
        } else {
            ++it;
        }
    }
    if (ghosts_.empty()) graph_.forgetGhostHolder(*this);
    if (finished.empty()) return;
    noteChange();
    for (auto& ghost : finished)
        ghost->setVisibleRecursively(false);
    graph_.setNeedsLayout();
}

std::vector<Element*> Element::layoutChildren() {
    std::vector<Element*> result;
    for (auto& child : children_) {
        if (child->node_->isTransparent()) {
            auto inner = child->layoutChildren();
            result.insert(result.end(), inner.begin(), inner.end());
        } else {
            result.push_back(child.get());
        }
    }
    return result;
}

graphics::CGSize Element::measure(const ProposedViewSize& proposal) {
    if (measuredGeneration_ != graph_.layoutGeneration()) {
        // A container's sizes hold while nothing below it changed.
        if (!node_->isLeaf()) {
            const auto stamp = cacheStamp();
            if (positionDependent_ || stamp != measuredStamp_) measured_.clear();
            measuredStamp_ = stamp;
        }
        measuredGeneration_ = graph_.layoutGeneration();
    }
    for (const auto& m : measured_) {
        if (m.proposal == proposal) return m.size;
    }
    const auto size = node_->sizeThatFits(*this, proposal);
    measured_.push_back({proposal, size});
    return size;
}

const Transaction& Element::placementTransaction() {
    static const Transaction none;
    if (!graph_.layoutHasCause()) return none;
    const auto pass = graph_.passNumber();
    if (placementPass_ != pass) {
        placementReceived_ = parent_ ? parent_->placementBelowFor(pass) : graph_.layoutCause();
        // Elements keep these between layouts; a completion must not wait on them.
        placementReceived_.completion.reset();
        placementBelow_ = placementReceived_;
        node_->transformTransaction(*this, placementBelow_);
        placementPass_ = pass;
    }
    return placementReceived_;
}

const Transaction& Element::placementBelowFor(std::uint64_t pass) {
    if (placementPass_ != pass) placementTransaction();
    return placementBelow_;
}

void Element::placeFrame(graphics::CGRect frame) {
    const Element* placer = graph_.placer();
    const graphics::CGPoint base = placer ? displaced(placer->layoutFrame_.origin, placer->displacement_) : graphics::CGPoint{};
    const LocalFrame local{{frame.minX() - base.x, frame.minY() - base.y}, {frame.width(), frame.height()}};
    if (!placed_ || placer != placer_) {
        // A first placement, or one by another container: nothing to move from.
        frameAnimation_.reset();
    } else if (!(local == localFrame_) || frameAnimation_) {
        const Transaction& transaction = placementTransaction();
        const bool animates = transaction.animation && !transaction.disablesAnimations;
        if (!frameAnimation_ && animates) {
            frameAnimation_ =
                std::make_unique<detail::AnimatedAttribute<LocalFrame>>(*this, localFrame_, detail::AnimatedEffect::paint);
        }
        if (frameAnimation_) {
            Transaction run;
            if (animates) {
                run = transaction;
                run.completion = graph_.layoutCause().completion;
            }
            frameAnimation_->setTarget(local, run);
            if (!frameAnimation_->isAnimating()) frameAnimation_.reset();
        }
    }
    placed_ = true;
    placer_ = placer;
    localFrame_ = local;
    layoutFrame_ = frame;
    const LocalFrame& shown = frameAnimation_ ? frameAnimation_->value() : local;
    const graphics::CGPoint shownBase = placer ? displaced(placer->frame_.origin, placer->displacement_) : graphics::CGPoint{};
    // A spring may overshoot below zero; a size stays a size.
    frame_ = {{shownBase.x + shown.first.first, shownBase.y + shown.first.second},
              {std::max<CGFloat>(0, shown.second.first), std::max<CGFloat>(0, shown.second.second)}};
}

void Element::place(graphics::CGRect frame, const ProposedViewSize& proposal) {
    const auto stamp = cacheStamp();
    // Nothing below changed and the same room is offered: the subtree would be placed as
    // before, only moved with this element (as when its scroll view scrolls); those below that
    // read where they stand are then placed again.
    if (placed_ && stamp == placedStamp_ && !readsPosition_ && graph_.placer() == placer_ &&
        frame.size == layoutFrame_.size && proposal == placedProposal_ && !graph_.hasRemovalGhosts()) {
        const auto laidAt = layoutFrame_.origin;
        const auto shownAt = frame_.origin;
        placeFrame(frame);
        shiftBelow(movement(laidAt, layoutFrame_.origin), movement(shownAt, frame_.origin));
        if (positionDependent_) placeReadersBelow();
        return;
    }
    // Another size reshapes what is below: nothing painted or placed before may be kept.
    if (placed_ && (frame.size != layoutFrame_.size || !(proposal == placedProposal_))) noteChange();
    placedStamp_ = stamp;
    forgetCollected();
    placeFrame(frame);
    placedProposal_ = proposal;
    displacement_ = {};
    // The readers below mark this again as this pass places them.
    positionDependent_ = readsPosition_ = false;
    {
        struct Restore {
            Graph& graph;
            const Element* outer;
            ~Restore() { graph.exchangePlacer(outer); }
        } restore{graph_, graph_.exchangePlacer(this)};
        node_->placeChildren(*this, proposal);
        if (graph_.hasRemovalGhosts()) placeGhosts(*this);
    }
    positionDependent_ = readsPosition_ || dependentBelow();
}

bool Element::dependentBelow() {
    bool dependent = false;
    for (auto& child : children_) {
        if (child->node_->isTransparent()) child->positionDependent_ = child->dependentBelow();
        dependent = dependent || child->positionDependent_;
    }
    return dependent;
}

void Element::placeReadersBelow() {
    for (auto& child : children_) {
        Element& c = *child;
        if (!c.positionDependent_) continue;
        if (c.node_->isTransparent() || !c.placed_ || !c.readsPosition_) {
            c.placeReadersBelow();
            continue;
        }
        const Element* outer = graph_.exchangePlacer(c.placer_);
        c.place(c.layoutFrame_, c.placedProposal_);
        graph_.exchangePlacer(outer);
    }
}

// Ghosts are laid out where they last stood, moved with the container that lays out their
// parent (the nearest ancestor that is not transparent), which finds them through its
// transparent children.
void Element::shiftBelow(graphics::CGSize layoutDelta, graphics::CGSize shownDelta) {
    // Unmoved, with nothing below changed: every frame below is already where it belongs.
    if (layoutDelta == graphics::CGSize{} && shownDelta == graphics::CGSize{}) return;
    // Each frame follows its placer as placeFrame puts it there, so frames come out as placing
    // them again gives rather than gathering rounding errors frame after frame. Siblings mostly
    // share their placer: its origins are worked out once for them.
    const Element* placer = nullptr;
    graphics::CGPoint base;
    graphics::CGPoint shownBase;
    for (auto& child : children_) {
        Element& c = *child;
        const bool transparent = c.node_->isTransparent();
        if (c.placed_ && c.placer_) {
            if (c.placer_ != placer) {
                placer = c.placer_;
                base = displaced(placer->layoutFrame_.origin, placer->displacement_);
                shownBase = displaced(placer->frame_.origin, placer->displacement_);
            }
            const LocalFrame& shown = c.frameAnimation_ ? c.frameAnimation_->value() : c.localFrame_;
            c.layoutFrame_ = {{base.x + c.localFrame_.first.first, base.y + c.localFrame_.first.second},
                              c.layoutFrame_.size};
            c.frame_ = {{shownBase.x + shown.first.first, shownBase.y + shown.first.second},
                        {std::max<CGFloat>(0, shown.second.first), std::max<CGFloat>(0, shown.second.second)}};
        } else if (!transparent) {
            c.layoutFrame_ = c.layoutFrame_.offsetBy(layoutDelta.width, layoutDelta.height);
            c.frame_ = c.frame_.offsetBy(shownDelta.width, shownDelta.height);
        }
        if (!c.children_.empty()) c.shiftBelow(layoutDelta, shownDelta);
        // A transparent element spans its children, as collectPreferences makes it.
        if (transparent) {
            graphics::CGRect bounds = graphics::CGRect::null();
            graphics::CGRect layoutBounds = graphics::CGRect::null();
            for (const auto& inner : c.children_) {
                if (!inner->visible_) continue;
                bounds = bounds.unionWith(inner->frame_);
                layoutBounds = layoutBounds.unionWith(inner->layoutFrame_);
            }
            if (!bounds.isNull()) {
                c.frame_ = bounds;
                c.layoutFrame_ = layoutBounds;
            }
        }
    }
}

void Element::placeGhosts(const Element& container) {
    placeOwnGhosts(container);
    for (auto& child : children_) {
        if (child->node_->isTransparent()) child->placeGhosts(container);
    }
}

void Element::placeOwnGhosts(const Element& container) {
    for (auto& ghost : ghosts_) {
        const graphics::CGPoint delta{container.layoutFrame_.origin.x - ghost.containerOrigin.x,
                                      container.layoutFrame_.origin.y - ghost.containerOrigin.y};
        ghost.containerOrigin = container.layoutFrame_.origin;
        ghost.element->placeAsGhost(container, delta);
    }
}

void Element::placeAsGhost(const Element& container, graphics::CGPoint delta) {
    if (!node_->isTransparent()) {
        if (placed_) place(layoutFrame_.offsetBy(delta.x, delta.y), placedProposal_);
        return;
    }
    graphics::CGRect bounds = graphics::CGRect::null();
    for (auto& child : children_) {
        child->placeAsGhost(container, delta);
        bounds = bounds.unionWith(child->frame_);
    }
    if (!bounds.isNull()) frame_ = bounds;
    placeOwnGhosts(container);
}

ViewDimensions Element::dimensions(graphics::CGSize size) {
    return {size.width, size.height,
            [this, size](const AlignmentID* id) { return explicitAlignment(id, size); }};
}

std::optional<CGFloat> Element::explicitAlignment(const AlignmentID* id, graphics::CGSize size) {
    return node_->explicitAlignment(*this, id, size);
}

graphics::ProjectionTransform Element::transformToRoot() const {
    // A container that reads this while it places its children places them by where it is.
    if (graph_.isLaying() && graph_.placer()) const_cast<Element*>(graph_.placer())->notePositionDependent();
    graphics::ProjectionTransform result;
    for (const Element* e = parent_; e; e = e->parent_) {
        if (const auto transform = e->node().contentTransform(*e)) result = result.concatenating(*transform);
    }
    return result;
}

graphics::CGRect Element::globalFrame() const {
    const auto transform = transformToRoot();
    return transform.isIdentity() ? frame_ : frame_.applying(transform);
}

void Element::render(DisplayList& list) const {
    if (!visible_) return;
    const graphics::CGRect* cull = graph_.paintCull(list);
    const auto mark = detail::PaintedRuns::mark();
    if (!cull) {
        node_->render(*this, list);
        detail::PaintedRuns::drop(mark);
        return;
    }
    // Inside a clipping container: a subtree that has not changed since it last painted in full
    // paints the same, moved with its frame, and is passed by while that lies out of the clip.
    const auto stamp = cacheStamp();
    if (paintedStamp_ == stamp && !positionDependent_) {
        if (paintedExtent_.isNull()) return;
        const auto shown =
            paintedExtent_.offsetBy(frame_.minX() - paintedOrigin_.x, frame_.minY() - paintedOrigin_.y);
        if (!shown.intersects(cull->insetBy(-kCullMargin, -kCullMargin))) {
            graph_.noteCulled();
            return;
        }
    }
    const auto first = list.items().size();
    const auto culled = graph_.culledCount();
    node_->render(*this, list);
    if (graph_.culledCount() != culled) {
        detail::PaintedRuns::drop(mark);
        paintedStamp_ = kNoStamp; // part of it was passed by: the extent is not whole
        return;
    }
    if (paintedStamp_ == stamp && !positionDependent_) {
        // Unchanged since it last painted in full: it painted as then, moved with its frame.
        const auto shown = paintedExtent_.isNull() ? graphics::CGRect::null()
                                                   : paintedExtent_.offsetBy(frame_.minX() - paintedOrigin_.x,
                                                                             frame_.minY() - paintedOrigin_.y);
        detail::PaintedRuns::closeKnown(list, first, mark, shown.toQRectF());
        return;
    }
    const QRectF painted = detail::PaintedRuns::close(list, first, mark);
    paintedExtent_ = painted.isEmpty() ? graphics::CGRect::null() : graphics::CGRect::fromQRectF(painted);
    paintedOrigin_ = frame_.origin;
    paintedStamp_ = stamp;
}

void Element::renderChildren(DisplayList& list) const {
    auto zIndex = [](const Element& child) {
        // Asked of every child at every paint: the exact type is cheaper to test than a cast.
        const ViewNode& node = child.node();
        return typeid(node) == typeid(detail::ZIndexNode) ? static_cast<const detail::ZIndexNode&>(node).value()
                                                          : 0.0;
    };
    const bool ordered = std::any_of(children_.begin(), children_.end(),
                                     [&](const auto& child) { return zIndex(*child) != 0; });
    if (!ordered && ghosts_.empty()) {
        for (const auto& child : children_)
            child->render(list);
        return;
    }
    std::vector<const Element*> order;
    order.reserve(children_.size() + ghosts_.size());
    std::size_t ghost = 0;
    for (std::size_t i = 0; i <= children_.size(); ++i) {
        while (ghost < ghosts_.size() && (ghosts_[ghost].position <= i || i == children_.size()))
            order.push_back(ghosts_[ghost++].element.get());
        if (i < children_.size()) order.push_back(children_[i].get());
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](const Element* a, const Element* b) { return zIndex(*a) < zIndex(*b); });
    for (const auto* child : order)
        child->render(list);
}

void Element::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    noteChange();
    if (hidden)
        setVisibleRecursively(false);
    else if (!parent_ || parent_->visible_)
        setVisibleRecursively(true);
}

void Element::setVisibleRecursively(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    node_->visibilityChanged(*this, visible);
    for (auto& child : children_) {
        if (!visible || !child->hidden_) child->setVisibleRecursively(visible);
    }
    for (auto& ghost : ghosts_)
        ghost.element->setVisibleRecursively(visible);
}

void Element::forgetCollected() {
    collectedStamp_ = kNoStamp;
    for (auto& child : children_) {
        if (child->node_->isTransparent()) child->forgetCollected();
    }
}

void Element::collectPreferences() {
    // Moving a subtree along (shiftBelow) keeps its transparent elements' frames; any other
    // placement below made since notes a change or clears the collected stamp.
    const auto stamp = cacheStamp();
    if (stamp == collectedStamp_ && !collectReadsElements_ && !positionDependent_ &&
        !graph_.hasRemovalGhosts())
        return;
    collectedStamp_ = stamp;
    bool readsElements = detail::collectsWithElement(*node_);
    // Values are rebuilt only where something below changed, so an unchanged subtree hands up
    // the very same values and readers of values without == do not see a change.
    graphics::CGRect bounds = graphics::CGRect::null();
    graphics::CGRect layoutBounds = graphics::CGRect::null();
    // The inputs are the visible children's values and the node; compared where they are
    // kept, as most subtrees hand up the same from frame to frame.
    bool sameInputs = true;
    std::size_t input = 0;
    for (auto& child : children_) {
        if (!child->visible_) continue;
        child->collectPreferences();
        readsElements = readsElements || child->collectReadsElements_;
        sameInputs = sameInputs && input < preferenceInputs_.size() &&
                     preferenceInputs_[input] == child->preferences_.identity();
        ++input;
        bounds = bounds.unionWith(child->frame_);
        layoutBounds = layoutBounds.unionWith(child->layoutFrame_);
    }
    sameInputs = sameInputs && input + 1 == preferenceInputs_.size() && preferenceInputs_[input] == node_.get();
    collectReadsElements_ = readsElements;
    if (node_->isTransparent() && !bounds.isNull()) {
        frame_ = bounds;
        layoutFrame_ = layoutBounds;
    }
    // Preferences read where layout put things, so a running animation does not change them.
    if (sameInputs && layoutFrame_ == preferenceFrame_) return;
    if (!sameInputs) {
        preferenceInputs_.clear();
        for (auto& child : children_) {
            if (child->visible_) preferenceInputs_.push_back(child->preferences_.identity());
        }
        preferenceInputs_.push_back(node_.get());
    }
    preferenceFrame_ = layoutFrame_;

    PreferenceValues values;
    for (auto& child : children_) {
        if (child->visible_ && !child->preferences_.isEmpty()) values.merge(child->preferences_);
    }
    node_->collectPreferences(*this, values);
    preferences_ = std::move(values);
}

} // namespace ui
