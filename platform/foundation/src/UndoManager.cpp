#include "foundation/UndoManager.h"

#include "foundation/Logger.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace foundation {

namespace {

const Logger& log() {
    static const Logger logger("foundation", "UndoManager");
    return logger;
}

bool sameOwner(const std::weak_ptr<const void>& a, const std::weak_ptr<const void>& b) {
    return !a.owner_before(b) && !b.owner_before(a);
}

} // namespace

bool UndoManager::Group::isLive() const {
    return std::any_of(actions.begin(), actions.end(), [](const Action& a) { return !a.target.expired(); });
}

UndoManager::~UndoManager() {
    if (automaticCloseToken_) RunLoop::main().cancel(automaticCloseToken_);
}

void UndoManager::registerAction(std::weak_ptr<const void> target, std::function<void()> run) {
    if (!isUndoRegistrationEnabled()) return;
    // Dropped handlers are destroyed at the end, once the stacks are consistent again.
    std::vector<Group> dropped;
    if (state_ == State::idle) dropped.swap(redoStack_);
    if (groupingLevel_ == 0) {
        if (!groupsByEvent_) {
            Group group;
            group.actions.push_back({std::move(target), std::move(run)});
            push(undoStack_, std::move(group));
            return;
        }
        open_ = Group{};
        groupingLevel_ = 1;
        automaticGroupOpen_ = true;
        automaticCloseDue_ = false;
        // The lowest deadline puts the close first in the next turn of the main run loop, before
        // work that this turn posted.
        automaticCloseToken_ = RunLoop::main().schedule(std::numeric_limits<double>::lowest(), [this] {
            automaticCloseToken_ = 0;
            closeAutomaticGroup();
        });
    }
    open_->actions.push_back({std::move(target), std::move(run)});
}

void UndoManager::closeAutomaticGroup() {
    if (!automaticGroupOpen_) return;
    if (groupingLevel_ > 1) {
        // An explicit group inside is still open; close when it ends.
        automaticCloseDue_ = true;
        return;
    }
    if (automaticCloseToken_) {
        RunLoop::main().cancel(automaticCloseToken_);
        automaticCloseToken_ = 0;
    }
    automaticGroupOpen_ = false;
    automaticCloseDue_ = false;
    groupingLevel_ = 0;
    Group group = std::move(*open_);
    open_.reset();
    push(undoStack_, std::move(group));
}

void UndoManager::beginUndoGrouping() {
    if (groupingLevel_ == 0) open_ = Group{};
    ++groupingLevel_;
}

void UndoManager::endUndoGrouping() {
    // The outermost group of an undo or redo, and an automatic group, are not the caller's to end.
    const bool ownOutermost = state_ != State::idle || automaticGroupOpen_;
    if (groupingLevel_ == 0 || (groupingLevel_ == 1 && ownOutermost)) {
        log().error("endUndoGrouping() without a matching beginUndoGrouping()");
        return;
    }
    --groupingLevel_;
    if (groupingLevel_ == 1 && automaticGroupOpen_ && automaticCloseDue_) {
        closeAutomaticGroup();
        return;
    }
    if (groupingLevel_ > 0) return;
    Group group = std::move(*open_);
    open_.reset();
    push(undoStack_, std::move(group));
}

void UndoManager::push(std::vector<Group>& stack, Group group) {
    if (group.actions.empty()) return;
    stack.push_back(std::move(group));
    trim(stack);
}

void UndoManager::trim(std::vector<Group>& stack) {
    if (levelsOfUndo_ == 0 || stack.size() <= levelsOfUndo_) return;
    const auto cut = stack.end() - static_cast<std::ptrdiff_t>(levelsOfUndo_);
    std::vector<Group> dropped(std::make_move_iterator(stack.begin()), std::make_move_iterator(cut));
    stack.erase(stack.begin(), cut);
}

void UndoManager::undo() {
    replay(State::undoing);
}

void UndoManager::redo() {
    replay(State::redoing);
}

void UndoManager::replay(State state) {
    const char* what = state == State::undoing ? "undo()" : "redo()";
    if (state_ != State::idle) {
        log().error("{} while undoing or redoing is ignored", what);
        return;
    }
    if (automaticGroupOpen_ && groupingLevel_ == 1) closeAutomaticGroup();
    if (groupingLevel_ > 0) {
        log().error("{} inside an open undo group is ignored", what);
        return;
    }
    std::vector<Group>& from = state == State::undoing ? undoStack_ : redoStack_;
    std::vector<Group>& to = state == State::undoing ? redoStack_ : undoStack_;
    // Groups whose targets are all gone would do nothing; undo the latest that does something.
    std::vector<Group> dead;
    while (!from.empty() && !from.back().isLive()) {
        dead.push_back(std::move(from.back()));
        from.pop_back();
    }
    if (from.empty()) return;
    Group group = std::move(from.back());
    from.pop_back();

    state_ = state;
    open_ = Group{{}, group.name};
    groupingLevel_ = 1;
    try {
        for (auto it = group.actions.rbegin(); it != group.actions.rend(); ++it)
            it->run();
    } catch (...) {
        open_.reset();
        groupingLevel_ = 0;
        state_ = State::idle;
        throw;
    }
    if (groupingLevel_ != 1) log().error("an undo handler left {} undo groups open", groupingLevel_ - 1);
    Group inverse = std::move(*open_);
    open_.reset();
    groupingLevel_ = 0;
    state_ = State::idle;
    push(to, std::move(inverse));
}

bool UndoManager::canUndo() const {
    if (state_ != State::idle) return false;
    if (automaticGroupOpen_ && groupingLevel_ == 1) {
        if (open_->isLive()) return true;
    } else if (groupingLevel_ > 0) {
        return false;
    }
    return std::any_of(undoStack_.begin(), undoStack_.end(), [](const Group& g) { return g.isLive(); });
}

bool UndoManager::canRedo() const {
    if (state_ != State::idle) return false;
    // Closing an automatic group that holds anything has cleared the redo stack already.
    if (groupingLevel_ > 0 && !(automaticGroupOpen_ && groupingLevel_ == 1)) return false;
    return std::any_of(redoStack_.begin(), redoStack_.end(), [](const Group& g) { return g.isLive(); });
}

void UndoManager::enableUndoRegistration() {
    if (disabledCount_ == 0) {
        log().error("enableUndoRegistration() without a matching disableUndoRegistration()");
        return;
    }
    --disabledCount_;
}

void UndoManager::removeAllActions() {
    // Handlers' captures are destroyed only once the manager is consistent again.
    std::vector<Group> undone = std::move(undoStack_);
    std::vector<Group> redone = std::move(redoStack_);
    std::vector<Action> open;
    undoStack_.clear();
    redoStack_.clear();
    if (open_) open.swap(open_->actions);
}

void UndoManager::removeAllActions(const std::weak_ptr<const void>& target) {
    std::vector<Action> removed;
    auto strip = [&](std::vector<Action>& actions) {
        auto keep = std::stable_partition(actions.begin(), actions.end(),
                                          [&](const Action& a) { return !sameOwner(a.target, target); });
        std::move(keep, actions.end(), std::back_inserter(removed));
        actions.erase(keep, actions.end());
    };
    for (std::vector<Group>* stack : {&undoStack_, &redoStack_}) {
        for (Group& group : *stack)
            strip(group.actions);
        std::erase_if(*stack, [](const Group& g) { return g.actions.empty(); });
    }
    if (open_) strip(open_->actions);
}

void UndoManager::setActionName(std::string name) {
    if (open_) {
        open_->name = std::move(name);
        return;
    }
    if (!undoStack_.empty()) undoStack_.back().name = std::move(name);
}

namespace {

template <class Groups> std::string topLiveName(const Groups& stack) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (it->isLive()) return it->name;
    return {};
}

} // namespace

std::string UndoManager::undoActionName() const {
    if (state_ == State::idle && automaticGroupOpen_ && groupingLevel_ == 1 && open_->isLive())
        return open_->name;
    return topLiveName(undoStack_);
}

std::string UndoManager::redoActionName() const {
    return topLiveName(redoStack_);
}

void UndoManager::setLevelsOfUndo(std::size_t levels) {
    levelsOfUndo_ = levels;
    trim(undoStack_);
    trim(redoStack_);
}

} // namespace foundation
