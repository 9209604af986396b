#pragma once

#include "graphics/CGRect.h"
#include "graphics/CGSize.h"
#include "ui/Clock.h"
#include "ui/DisplayList.h"
#include "ui/Element.h"
#include "ui/EnvironmentValues.h"
#include "ui/HostedWidgets.h"
#include "ui/Transaction.h"
#include "ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace ui {

// The retained tree of one hosted view and its update pipeline. Main thread only.
//
// One update (a frame): re-evaluate the invalidated elements (ancestors first) → lay out →
// collect preferences → re-evaluate the preference readers whose value changed → lay out, the
// reader step at most twice (more waits for the next frame, with a warning). Then the actions
// the update queued run (change, appear and preference-change actions); their writes cause one
// more pass in the same frame.
class Graph {
public:
    explicit Graph(View root, graphics::CGSize size = {}, EnvironmentValues environment = {});
    ~Graph();
    Graph(const Graph&) = delete;
    Graph& operator=(const Graph&) = delete;

    void setRoot(View root);
    void setSize(graphics::CGSize size);
    graphics::CGSize size() const { return size_; }
    void setEnvironment(EnvironmentValues environment);

    void update();
    bool needsUpdate() const;
    // Called (once until the next update) when something invalidated the tree.
    void setNeedsUpdateHandler(std::function<void()> handler) { needsUpdateHandler_ = std::move(handler); }
    // Called at the end of every update, once the tree and its hosted widgets are in step.
    void setDidUpdateHandler(std::function<void()> handler) { didUpdateHandler_ = std::move(handler); }
    // How many layouts something other than an animation frame caused (a write, a new size):
    // readers of what the tree shows look again only when it moves on.
    std::uint64_t causedLayoutCount() const { return causedLayouts_; }

    Element& root() const { return *root_; }
    // What the tree shows now. Kept from the update that built it (the hosted widgets' sync
    // needs it too) until anything could change it: an invalidation, a layout, another time.
    const DisplayList& displayList() const;
    // How many evaluate-and-lay-out passes the last update took (for tests).
    int lastPassCount() const { return lastPassCount_; }

    // The clock frames come from. Until a host sets its own, a manual clock nobody steps.
    void setClock(std::shared_ptr<Clock> clock);
    Clock& clock() const { return *clock_; }
    // The native widgets representables host in this tree; kept in step at every update.
    HostedWidgets& hostedWidgets() { return *hostedWidgets_; }
    // The size the root's content asks for under `proposal` (a window's limits and ideal size).
    graphics::CGSize sizeThatFits(const ProposedViewSize& proposal);

    // For elements and nodes.
    void invalidate(Element& element);
    void forget(Element& element);
    void setNeedsLayout();
    // Lays out again at the next update (an animation frame).
    void requestLayout();
    // The transaction `ancestor` received in the update in progress, for nodes that restore
    // an outer transaction below them.
    const Transaction& receivedTransaction(const Element& ancestor) const;
    // For elements: the transactions their ancestors would receive when an update starts at
    // `element`, root first.
    Transaction transformedByAncestors(const Element& element, Transaction transaction);
    void enqueueAction(std::function<void()> action);
    // Elements holding removal ghosts; the graph drops finished ghosts at each update.
    void addGhostHolder(Element& element) { ghostHolders_.insert(&element); }
    void forgetGhostHolder(Element& element) { ghostHolders_.erase(&element); }
    bool hasRemovalGhosts() const { return !ghostHolders_.empty(); }

    // Geometry changes animate with the transaction of what caused the layout: the writes of
    // the elements updated before it (an animated one wins over one without animation) or a
    // new size. A layout that only animation frames asked for has no cause and starts nothing.
    void noteLayoutCause(const Transaction& transaction);
    bool layoutHasCause() const { return layoutCause_.has_value(); }
    const Transaction& layoutCause() const { return *layoutCause_; }
    // The number of the layout in progress, or of the next one while elements update.
    std::uint64_t passNumber() const { return layoutGeneration_ + (laying_ ? 0 : 1); }
    // The element whose children are being placed (none while the root is).
    const Element* placer() const { return placer_; }
    const Element* exchangePlacer(const Element* placer) { return std::exchange(placer_, placer); }
    std::uint64_t layoutGeneration() const { return layoutGeneration_; }
    const Transaction& updateTransaction() const { return updateTransaction_; }
    template <class F> void withUpdateTransaction(const Transaction& transaction, F&& f) {
        struct Restore {
            Transaction& slot;
            Transaction outer;
            ~Restore() { slot = std::move(outer); }
        } restore{updateTransaction_, std::exchange(updateTransaction_, transaction)};
        std::forward<F>(f)();
    }
    // The part of the root that scroll views show around the element being laid out. Its
    // placement then depends on where it is (Element::notePositionDependent).
    graphics::CGRect visibleRect() const;
    // Narrows the visible rect to `rect` (a viewport) for what is placed until the pop.
    void pushVisibleRect(graphics::CGRect rect);
    void popVisibleRect() { visibleRects_.pop_back(); }
    bool isLaying() const { return laying_; }

    // Measurements, placements and painted extents are kept across frames while nothing below
    // their element changed; Element::noteChange stamps each change from this counter.
    std::uint64_t nextChangeStamp() { return ++changeCounter_; }
    // Kept results from before the last call to dropKeptLayouts are stale.
    std::uint64_t keptLayoutEpoch() const { return keptLayoutEpoch_; }
    // For changes from outside the tree (the surface's size, hosted widgets' sizes).
    void dropKeptLayouts() { keptLayoutEpoch_ = ++changeCounter_; }

    // While a clipping container paints its children into `list`: the rect (in that list's
    // coordinates) outside which nothing shows. Children that painted out of it before and
    // have not changed since are passed by.
    void pushPaintCull(const DisplayList* list, graphics::CGRect rect) const { paintCulls_.push_back({list, rect}); }
    void popPaintCull() const { paintCulls_.pop_back(); }
    const graphics::CGRect* paintCull(const DisplayList& list) const {
        return !paintCulls_.empty() && paintCulls_.back().first == &list ? &paintCulls_.back().second : nullptr;
    }
    // How many subtrees were passed by so far: a painted extent is kept only when complete.
    std::uint64_t culledCount() const { return culledCount_; }
    void noteCulled() const { ++culledCount_; }

private:
    graphics::CGRect rootRect() const { return {{0, 0}, size_}; }
    bool evaluateDirty();
    void dropFinishedGhosts();
    void layout();
    void requestUpdate();
    void forgetDisplayList() { displayListKept_ = false; }

    std::shared_ptr<Clock> clock_;
    std::unique_ptr<HostedWidgets> hostedWidgets_;
    std::unique_ptr<Element> root_;
    std::shared_ptr<const ViewNode> pendingRoot_;
    graphics::CGSize size_;
    EnvironmentValues environment_;
    std::set<Element*> dirty_;
    std::set<Element*> ghostHolders_;
    std::vector<std::function<void()>> actions_;
    std::vector<graphics::CGRect> visibleRects_;
    std::function<void()> needsUpdateHandler_;
    std::function<void()> didUpdateHandler_;
    Transaction updateTransaction_;
    std::vector<std::pair<const Element*, Transaction>>* ancestorTransactions_ = nullptr;
    std::uint64_t layoutGeneration_ = 0;
    std::uint64_t causedLayouts_ = 0;
    std::optional<Transaction> layoutCause_;
    const Element* placer_ = nullptr;
    bool laying_ = false;
    bool needsLayout_ = true;
    bool updating_ = false;
    bool updateRequested_ = false;
    int lastPassCount_ = 0;
    mutable DisplayList displayList_;
    mutable bool displayListKept_ = false;
    mutable const Clock* displayListClock_ = nullptr;
    mutable double displayListTime_ = 0;
    std::uint64_t changeCounter_ = 0;
    std::uint64_t keptLayoutEpoch_ = 0;
    mutable std::vector<std::pair<const DisplayList*, graphics::CGRect>> paintCulls_;
    mutable std::uint64_t culledCount_ = 0;
};

} // namespace ui
