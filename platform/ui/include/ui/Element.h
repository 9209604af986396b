#pragma once

#include "foundation/AnyHashable.h"
#include "foundation/Fatal.h"
#include "graphics/CGRect.h"
#include "graphics/ProjectionTransform.h"
#include "reactive/AnyCancellable.h"
#include "ui/AnimatedAttribute.h"
#include "ui/EnvironmentValues.h"
#include "ui/Preference.h"
#include "ui/ProposedViewSize.h"
#include "ui/Transaction.h"
#include "ui/View.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

namespace ui {

class Graph;
class Element;

// Where a child stands among its parent's children: its slot (a position) or, for the
// children of a ForEach and views with an id, its explicit id. Elements are kept across
// updates while their key and kind stay the same.
struct ChildKey {
    std::size_t slot = 0;
    foundation::AnyHashable id;
    bool isExplicit = false;
    std::size_t occurrence = 0; // tells apart repeated ids, which are a caller's mistake

    bool operator==(const ChildKey&) const = default;
};

struct ChildSpec {
    View view;
    ChildKey key;
    std::optional<EnvironmentValues> environment; // the parent's when empty
};

namespace detail {
// What handles hold to reach their element: emptied when the element goes.
struct ElementRef {
    Element* element = nullptr;
};
} // namespace detail

// The retained counterpart of a description: identity, dynamic properties, the environment
// in effect, layout results and children. Only the graph makes and destroys elements.
class Element {
public:
    Element(Graph& graph, Element* parent, ChildKey key, std::shared_ptr<const ViewNode> node);
    ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    Graph& graph() const { return graph_; }
    Element* parent() const { return parent_; }
    const ViewNode& node() const { return *node_; }
    const std::shared_ptr<const ViewNode>& nodePointer() const { return node_; }
    template <class N> const N* nodeAs() const { return dynamic_cast<const N*>(node_.get()); }
    const ChildKey& key() const { return key_; }
    int depth() const { return depth_; }
    const std::vector<std::unique_ptr<Element>>& children() const { return children_; }
    const EnvironmentValues& environment() const { return environment_; }
    // The explicit id this element was given (by `id` or a ForEach), if any.
    const foundation::AnyHashable* explicitID() const { return key_.isExplicit ? &key_.id : nullptr; }

    // Layout results, in root coordinates before geometry effects: where the element is shown
    // (on its way to where layout put it while its geometry animates), and where layout put it.
    // Layout code places children from layoutFrame(); painting, hit testing and readers of what
    // is seen use frame() (through transformToRoot() for where it shows on screen).
    graphics::CGRect frame() const { return frame_; }
    graphics::CGRect layoutFrame() const { return layoutFrame_; }
    // Whether the element's geometry is animating towards its layout frame.
    bool isFrameAnimating() const { return frameAnimation_ && frameAnimation_->isAnimating(); }
    // Maps the coordinates of frame() to where this element shows in the root: the content
    // transforms of its ancestors, innermost first.
    graphics::ProjectionTransform transformToRoot() const;
    // Where the element shows: the bounds of its frame through transformToRoot().
    graphics::CGRect globalFrame() const;
    bool isVisible() const { return visible_; }
    // How often a body ran for this element (custom views and modifiers).
    int evaluationCount() const { return evaluationCount_; }
    // The transaction of the update that last changed this element.
    const Transaction& transaction() const { return transaction_; }
    const PreferenceValues& preferences() const { return preferences_; }

    // Marks the element for re-evaluation in the next update with the transaction of the write.
    void invalidate(const Transaction& transaction);
    // Marks it for re-evaluation by an animation frame: no transaction, and the transforms of
    // the subtrees it stands in do not apply. A real write in the same frame wins.
    void invalidateForAnimationFrame();
    // Lays out and paints again at the next update, re-evaluating nothing.
    void invalidateLayout();
    // Marks this element and those above it as changed, so that what they measured, placed
    // and painted is worked out again rather than kept from an earlier frame.
    void noteChange();
    // For nodes whose placement reads where they are on screen, not only their size (what
    // scrolls into sight, global geometry): their placement is then always worked out again
    // instead of moved along with their container.
    void notePositionDependent();
    std::weak_ptr<detail::ElementRef> reference() const { return ref_; }

    // Storage of dynamic properties by name. A name used with two types is a programmer error.
    template <class T, class Make> std::shared_ptr<T> slot(std::string_view name, Make&& make) {
        auto it = slots_.find(name);
        if (it == slots_.end()) {
            std::shared_ptr<T> value = std::forward<Make>(make)();
            slots_.emplace(std::string(name), Slot{value, &typeid(T)});
            return value;
        }
        if (*it->second.type != typeid(T)) {
            foundation::fatal("the view property \"" + std::string(name) + "\" is used with two types (" +
                              it->second.type->name() + " and " + typeid(T).name() + ")");
        }
        return std::static_pointer_cast<T>(it->second.value);
    }

    // The animated attribute `name` of this element, made at `initial` on first use (see
    // AnimatedAttribute.h). A node calls setTarget on it from update and reads presentedValue
    // when it lays out or paints. One asked for with another value type than before (an erased
    // shape that became another kind of shape) starts afresh at `initial`: there is nothing to
    // animate from.
    template <VectorArithmetic V>
    detail::AnimatedAttribute<V>& animatedAttribute(std::string_view name, const V& initial,
                                                    detail::AnimatedEffect effect = detail::AnimatedEffect::layout) {
        std::string key = attributeKey(name);
        if (auto* existing = findSlot<detail::AnimatedAttribute<V>>(key)) return *existing;
        auto made = std::make_shared<detail::AnimatedAttribute<V>>(*this, initial, effect);
        slots_.insert_or_assign(std::move(key), Slot{made, &typeid(detail::AnimatedAttribute<V>)});
        return *made;
    }
    // Sets the attribute's target with this element's transaction and returns what it shows.
    template <VectorArithmetic V> const V& animate(std::string_view name, const V& target) {
        auto& attribute = animatedAttribute(name, target);
        attribute.setTarget(target, transaction_);
        return attribute.value();
    }
    // What the attribute shows now; `fallback` (the description's value) when it has none.
    template <VectorArithmetic V> V presentedValue(std::string_view name, const V& fallback) const {
        const auto* attribute = findSlot<detail::AnimatedAttribute<V>>(attributeKey(name));
        return attribute ? attribute->value() : fallback;
    }
    // The attribute, if the element has one by that name.
    template <VectorArithmetic V> const detail::AnimatedAttribute<V>* findAnimatedAttribute(std::string_view name) const {
        return findSlot<detail::AnimatedAttribute<V>>(attributeKey(name));
    }
    template <class T> T* findSlot(std::string_view name) const {
        auto it = slots_.find(name);
        if (it == slots_.end() || *it->second.type != typeid(T)) return nullptr;
        return static_cast<T*>(it->second.value.get());
    }

    // For nodes: updates the children to `specs` (kept, made or dropped by key and kind). A
    // child that goes while its node can animate its leaving (ViewNode::beginRemoval) stays as
    // a removal ghost until those animations end.
    void reconcile(std::vector<ChildSpec> specs);
    // Whether this element was made by an update of a container that already stood (directly
    // or through wrappers), rather than as part of a new subtree: an insertion a transition may
    // show. `consumeInsertion` keeps the views inside from showing it again.
    bool isInsertion() const { return inserted_; }
    void consumeInsertion() { inserted_ = false; }
    // For nodes: runs this element's update now with `transaction`, as if invalidated by it.
    void refresh(const Transaction& transaction);

    // Removal ghosts: children that left but still paint while their removal animates. They
    // are not children any more (no identity, no layout share, no hits); they keep their last
    // place relative to their container and paint where they stood among their siblings.
    std::vector<Element*> removalGhosts() const;
    bool isRemovalGhost() const { return ghost_; }
    // Whether this element is a removal ghost or inside one: still painting, but gone.
    bool isLeaving() const;
    // For the graph: drops the ghosts whose removal animations have ended.
    void dropFinishedGhosts();
    // The children a container lays out: transparent children stand for theirs.
    std::vector<Element*> layoutChildren();
    graphics::CGSize measure(const ProposedViewSize& proposal);
    void place(graphics::CGRect frame, const ProposedViewSize& proposal);
    // For nodes that move their content by a value of their own (an offset, a scroll position):
    // called in placeChildren before the children are placed, it makes that move the node's,
    // so the children's frames do not change with it, and it animates only as the value does.
    void setContentDisplacement(graphics::CGSize displacement) { displacement_ = displacement; }
    ViewDimensions dimensions(graphics::CGSize size);
    std::optional<CGFloat> explicitAlignment(const AlignmentID* id, graphics::CGSize size);
    void render(DisplayList& list) const;
    void renderChildren(DisplayList& list) const;
    // Hides or shows again a subtree that keeps its state (a lazy row scrolled away), telling
    // its views that they disappear or appear.
    void setHidden(bool hidden);
    bool isHidden() const { return hidden_; }

    // The environment the body last ran with, and what it read of it.
    struct BodyRecord {
        View body;
        EnvironmentValues environment;
        std::vector<detail::KeyID> reads;
        bool readsAll = false;
        reactive::AnyCancellable observation;
        std::map<const void*, reactive::AnyCancellable> objects;
        // The previous evaluation's subscriptions, while a body runs, to keep those still used.
        std::map<const void*, reactive::AnyCancellable>* previousObjects = nullptr;
    };
    BodyRecord& bodyRecord() { return body_; }
    // Whether the current update must run the body (not just pass a new environment down).
    bool needsBody() const;
    void noteEvaluated() { ++evaluationCount_; }

    // Called by the graph.
    void update(std::shared_ptr<const ViewNode> node, const EnvironmentValues& environment);
    bool isDirty() const { return dirty_; }
    const Transaction& pendingTransaction() const { return pendingTransaction_; }
    void collectPreferences();
    // While layout runs: the transaction the element's own geometry changes take (the layout's
    // cause as the transforms of its ancestors change it; what the element itself was updated
    // with when it was updated for this layout).
    const Transaction& placementTransaction();
    void setVisibleRecursively(bool visible);

private:
    struct Ghost {
        std::unique_ptr<Element> element;
        std::size_t position;              // paints before the live child of this index
        graphics::CGPoint containerOrigin; // where its layout container stood when last placed
        std::weak_ptr<detail::AnimationCompletion> removal; // held by its removal animations
    };
    // Turns the children that went (and can animate their leaving) into ghosts.
    void settleGone(std::vector<std::unique_ptr<Element>>& gone, const std::vector<Element*>& oldOrder);
    std::optional<Ghost> leaveAnimated(Element& child);
    void placeGhosts(const Element& container);
    void placeOwnGhosts(const Element& container);
    void placeAsGhost(const Element& container, graphics::CGPoint delta);
    // Kept apart from the names bodies give their state.
    static std::string attributeKey(std::string_view name) { return "\x1f" + std::string(name); }
    Transaction incomingTransaction();

    struct Slot {
        std::shared_ptr<void> value;
        const std::type_info* type;
    };
    struct Measured {
        ProposedViewSize proposal;
        graphics::CGSize size;
    };

    Graph& graph_;
    Element* parent_;
    int depth_;
    ChildKey key_;
    std::shared_ptr<const ViewNode> node_;
    std::vector<std::unique_ptr<Element>> children_;
    std::vector<Ghost> ghosts_; // by position
    EnvironmentValues environment_;
    std::map<std::string, Slot, std::less<>> slots_;
    std::shared_ptr<detail::ElementRef> ref_;
    BodyRecord body_;

    bool fresh_ = true;
    bool dirty_ = false;
    bool pendingIsFrame_ = false;  // dirty only for an animation frame
    bool dirtyDuringBody_ = false; // the update in progress was asked for by an invalidation
    bool nodeChanged_ = false;
    bool environmentChanged_ = false;
    bool visible_ = false;
    bool hidden_ = false;
    bool inserted_ = false;
    bool ghost_ = false;
    bool placed_ = false;
    int evaluationCount_ = 0;
    Transaction transaction_;
    Transaction pendingTransaction_;
    std::optional<Transaction> forcedTransaction_;

    // A frame is animated in the coordinates of the element that placed it, so a view that
    // moves with its container follows it instead of animating on its own.
    using LocalFrame = AnimatablePair<AnimatablePair<CGFloat, CGFloat>, AnimatablePair<CGFloat, CGFloat>>;
    void placeFrame(graphics::CGRect frame);
    const Transaction& placementBelowFor(std::uint64_t pass);
    // Kept results hold while this equals the stamp they were made at.
    std::uint64_t cacheStamp() const;
    // Moves the placed frames below along with this element's, as placing them again would.
    void shiftBelow(graphics::CGSize layoutDelta, graphics::CGSize shownDelta);

    graphics::CGRect frame_;
    ProposedViewSize placedProposal_;
    graphics::CGRect layoutFrame_;
    const Element* placer_ = nullptr;
    graphics::CGSize displacement_;
    // The transactions of the layout numbered placementPass_: received, and handed below.
    std::uint64_t placementPass_ = 0;
    Transaction placementReceived_;
    Transaction placementBelow_;
    LocalFrame localFrame_;
    std::unique_ptr<detail::AnimatedAttribute<LocalFrame>> frameAnimation_;
    std::uint64_t measuredGeneration_ = 0;
    std::vector<Measured> measured_;
    PreferenceValues preferences_;
    std::vector<const void*> preferenceInputs_;
    graphics::CGRect preferenceFrame_ = graphics::CGRect::null();
    // Clears what the subtree's collection kept, through the transparent children whose
    // frames it gathers from the children this element places.
    void forgetCollected();

    // What changed below since results were kept (see Graph::nextChangeStamp).
    static constexpr std::uint64_t kNoStamp = ~std::uint64_t(0);
    std::uint64_t changeStamp_ = 0;
    std::uint64_t measuredStamp_ = kNoStamp;
    std::uint64_t placedStamp_ = kNoStamp;
    // Worked out again whenever the element is placed in full: its own placement read where it
    // stands (readsPosition_), or that of one below did (positionDependent_).
    bool positionDependent_ = false;
    bool readsPosition_ = false;
    // After a move along: places again those below whose placement reads where they stand.
    void placeReadersBelow();
    // Whether any child (through transparent ones, brought up to date) reads where it stands.
    bool dependentBelow();
    // The stamp the subtree's preferences were last collected at, and whether a collector in it
    // reads its element (where it is): a subtree that changed nothing since and reads no
    // element hands up what it did, wherever it moved.
    std::uint64_t collectedStamp_ = kNoStamp;
    bool collectReadsElements_ = true;
    // Where the subtree last painted in full, for clipping containers to pass it by while it
    // lies out of sight: relative to frame_ at that time.
    mutable std::uint64_t paintedStamp_ = kNoStamp;
    mutable graphics::CGRect paintedExtent_ = graphics::CGRect::null();
    mutable graphics::CGPoint paintedOrigin_;
};

} // namespace ui
