#include "ui/Graph.h"

#include "foundation/Logger.h"
#include "ui/Layout.h"

#include <algorithm>

namespace ui {

namespace {

const foundation::Logger& logger() {
    static const foundation::Logger log("org.quoril.ui", "Graph");
    return log;
}

// Holds the root view; lays its content out centred in the surface.
class RootNode final : public ViewNode {
public:
    explicit RootNode(View content)
        : content_(std::move(content)) {}
    std::string_view typeName() const override { return "Root"; }
    void update(Element& element) const override { element.reconcile({ChildSpec{content_, {}, {}}}); }
    graphics::CGSize sizeThatFits(Element&, const ProposedViewSize& proposal) const override {
        return proposal.replacingUnspecifiedDimensions();
    }
    void placeChildren(Element& element, const ProposedViewSize&) const override {
        const auto frame = element.layoutFrame();
        detail::placeUnaryContent(element, frame, frame.size, Alignment::center);
    }

private:
    View content_;
};

// Reader passes and action rounds a frame may take before the rest waits for the next frame.
constexpr int maxReaderPasses = 2;
constexpr int maxActionRounds = 8;

} // namespace

Graph::Graph(View root, graphics::CGSize size, EnvironmentValues environment)
    : clock_(std::make_shared<ManualClock>())
    , hostedWidgets_(std::make_unique<HostedWidgets>())
    , size_(size)
    , environment_(std::move(environment)) {
    hostedWidgets_->setNeedsSyncHandler([this] {
        // A widget's size may have changed under a view that measured it.
        dropKeptLayouts();
        setNeedsLayout();
        requestUpdate();
    });
    root_ =
        std::make_unique<Element>(*this, nullptr, ChildKey{}, std::make_shared<RootNode>(std::move(root)));
    root_->setVisibleRecursively(true);
    root_->invalidate(Transaction());
}

Graph::~Graph() {
    // Elements tell the graph when they go; nothing may be queued for them after that.
    auto root = std::move(root_);
    root.reset();
}

void Graph::setRoot(View root) {
    // Taken in at the next update, with everything else.
    forgetDisplayList();
    pendingRoot_ = std::make_shared<RootNode>(std::move(root));
    root_->invalidate(Transaction::current());
}

void Graph::setClock(std::shared_ptr<Clock> clock) {
    forgetDisplayList();
    if (clock) clock_ = std::move(clock);
}

graphics::CGSize Graph::sizeThatFits(const ProposedViewSize& proposal) {
    return detail::unaryContentSize(*root_, proposal);
}

void Graph::setSize(graphics::CGSize size) {
    if (size == size_) return;
    size_ = size;
    dropKeptLayouts();
    noteLayoutCause(Transaction::current());
    setNeedsLayout();
    requestUpdate();
}

void Graph::setEnvironment(EnvironmentValues environment) {
    forgetDisplayList();
    environment_ = std::move(environment);
    root_->invalidate(Transaction::current());
}

bool Graph::needsUpdate() const {
    return !dirty_.empty() || needsLayout_ || !actions_.empty();
}

void Graph::invalidate(Element& element) {
    forgetDisplayList();
    if (!root_) return;
    dirty_.insert(&element);
    requestUpdate();
}

void Graph::forget(Element& element) {
    dirty_.erase(&element);
}

void Graph::setNeedsLayout() {
    forgetDisplayList();
    needsLayout_ = true;
}

void Graph::requestLayout() {
    setNeedsLayout();
    requestUpdate();
}

const Transaction& Graph::receivedTransaction(const Element& ancestor) const {
    if (laying_) return const_cast<Element&>(ancestor).placementTransaction();
    if (ancestorTransactions_) {
        for (const auto& [element, transaction] : *ancestorTransactions_) {
            if (element == &ancestor) return transaction;
        }
    }
    return ancestor.transaction();
}

Transaction Graph::transformedByAncestors(const Element& element, Transaction transaction) {
    std::vector<const Element*> chain;
    for (const Element* a = element.parent(); a; a = a->parent())
        chain.push_back(a);
    std::vector<std::pair<const Element*, Transaction>> received;
    received.reserve(chain.size());
    auto* outer = std::exchange(ancestorTransactions_, &received);
    struct Restore {
        Graph& graph;
        std::vector<std::pair<const Element*, Transaction>>* outer;
        ~Restore() { graph.ancestorTransactions_ = outer; }
    } restore{*this, outer};
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        received.emplace_back(*it, transaction);
        (*it)->node().transformTransaction(**it, transaction);
    }
    return transaction;
}

void Graph::noteLayoutCause(const Transaction& transaction) {
    if (!layoutCause_ || (!layoutCause_->animation && transaction.animation)) layoutCause_ = transaction;
}

void Graph::enqueueAction(std::function<void()> action) {
    actions_.push_back(std::move(action));
    requestUpdate();
}

graphics::CGRect Graph::visibleRect() const {
    if (laying_ && placer_) const_cast<Element*>(placer_)->notePositionDependent();
    return visibleRects_.empty() ? rootRect() : visibleRects_.back();
}

void Graph::pushVisibleRect(graphics::CGRect rect) {
    visibleRects_.push_back((visibleRects_.empty() ? rootRect() : visibleRects_.back()).intersection(rect));
}

void Graph::requestUpdate() {
    forgetDisplayList();
    if (updating_ || updateRequested_) return;
    updateRequested_ = true;
    if (needsUpdateHandler_) needsUpdateHandler_();
}

bool Graph::evaluateDirty() {
    forgetDisplayList();
    bool any = false;
    // Bodies that write state while they run would otherwise keep this loop going.
    std::size_t budget = 100'000;
    while (!dirty_.empty()) {
        if (budget-- == 0) {
            logger().error(
                "views keep invalidating themselves while they update; the rest waits for the next frame");
            break;
        }
        // Ancestors first: their update reaches the invalidated descendants too.
        auto it = std::min_element(dirty_.begin(), dirty_.end(), [](const Element* a, const Element* b) {
            return a->depth() < b->depth();
        });
        Element* element = *it;
        dirty_.erase(it);
        if (element == root_.get()) {
            auto node = pendingRoot_ ? std::exchange(pendingRoot_, nullptr) : root_->nodePointer();
            root_->update(std::move(node), environment_);
        } else {
            element->update(element->nodePointer(), element->environment());
        }
        any = true;
    }
    return any;
}

void Graph::dropFinishedGhosts() {
    // Dropping a ghost may drop holders inside it.
    const auto holders = ghostHolders_;
    for (Element* holder : holders) {
        if (ghostHolders_.count(holder)) holder->dropFinishedGhosts();
    }
}

void Graph::layout() {
    forgetDisplayList();
    dropFinishedGhosts();
    ++layoutGeneration_;
    if (layoutCause_) ++causedLayouts_;
    needsLayout_ = false;
    visibleRects_.clear();
    struct Finish {
        Graph& graph;
        ~Finish() {
            graph.laying_ = false;
            graph.placer_ = nullptr;
            graph.layoutCause_.reset();
        }
    } finish{*this};
    laying_ = true;
    root_->place(rootRect(), ProposedViewSize(size_));
    root_->collectPreferences();
}

void Graph::update() {
    if (updating_) return;
    updating_ = true;
    updateRequested_ = false;
    // A body or action that throws must not leave the graph thinking it is still updating, or
    // it would never update again.
    struct Finish {
        Graph& graph;
        ~Finish() {
            if (!graph.updating_) return;
            graph.updating_ = false;
            graph.requestUpdate();
        }
    } finish{*this};
    dropFinishedGhosts();
    int passes = 0;
    for (int round = 0; round < maxActionRounds; ++round) {
        evaluateDirty();
        layout();
        ++passes;
        // Readers of preferences invalidated themselves while preferences were collected.
        for (int reader = 0; reader < maxReaderPasses && !dirty_.empty(); ++reader) {
            evaluateDirty();
            layout();
            ++passes;
        }
        if (!dirty_.empty() && actions_.empty()) {
            logger().notice(
                "preference readers keep changing; the rest of the update waits for the next frame");
            break;
        }
        if (actions_.empty()) break;
        auto actions = std::move(actions_);
        actions_.clear();
        withTransaction(Transaction(), [&] {
            for (std::size_t i = 0; i < actions.size(); ++i) {
                try {
                    actions[i]();
                } catch (...) {
                    // The actions after the one that threw still run, at the next update.
                    actions_.insert(actions_.begin(), std::make_move_iterator(actions.begin() + i + 1),
                                    std::make_move_iterator(actions.end()));
                    throw;
                }
            }
        });
        // An action may also have changed the size.
        if (dirty_.empty() && actions_.empty() && !needsLayout_) break;
    }
    lastPassCount_ = passes;
    // Work the last round left (not the layout the widgets' own sync asks for) waits for the
    // next frame, which must be asked for.
    const bool layoutLeft = needsLayout_;
    if (!hostedWidgets_->isEmpty()) hostedWidgets_->sync(displayList());
    updating_ = false;
    needsLayout_ = layoutLeft;
    if (didUpdateHandler_) didUpdateHandler_();
    if (needsUpdate()) requestUpdate();
}

const DisplayList& Graph::displayList() const {
    const double now = clock_->now();
    if (displayListKept_ && displayListClock_ == clock_.get() && displayListTime_ == now) return displayList_;
    DisplayList list;
    root_->render(list);
    displayList_ = std::move(list);
    displayListKept_ = true;
    displayListClock_ = clock_.get();
    displayListTime_ = now;
    return displayList_;
}

} // namespace ui
