#pragma once

#include "foundation/Object.h"
#include "foundation/RunLoop.h"

#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace foundation {

// Records how to reverse changes, in groups, on an undo and a redo stack. Main thread only.
//
// An action is a handler tied to a target held weakly: once the target is gone the action does
// nothing, and undo passes over groups whose targets are all gone. A handler run by undo()
// registers the inverse change, which lands on the redo stack; run by redo(), on the undo stack.
// A registration outside undo and redo clears the redo stack.
//
// Grouping: everything registered between beginUndoGrouping() and the matching
// endUndoGrouping() (nested groups merge into the outermost) is undone at once. With
// groupsByEvent (the default), a registration outside any group opens a group that closes at
// the start of the main run loop's next turn, so everything one turn registers is undone
// together (under a driver, what happens between two calls of runDue); without it, such a
// registration is a group of its own. undo() and redo() close that group first.
//
// Misuse — undo() or redo() inside an open group or from a handler, an unmatched
// endUndoGrouping() — is logged as an error and ignored.
class UndoManager : public Object {
public:
    UndoManager() = default;
    ~UndoManager() override;

    // `handler` takes the target as T& or as std::shared_ptr<T>.
    template <class T, class F> void registerUndo(const std::weak_ptr<T>& target, F handler) {
        static_assert(std::invocable<F&, T&> || std::invocable<F&, const std::shared_ptr<T>&>,
                      "the undo handler takes the target as T& or as std::shared_ptr<T>");
        registerAction(target, [target, handler = std::move(handler)]() mutable {
            std::shared_ptr<T> strong = target.lock();
            if (!strong) return;
            if constexpr (std::invocable<F&, T&>) {
                handler(*strong);
            } else {
                handler(strong);
            }
        });
    }
    template <class T, class F> void registerUndo(const std::shared_ptr<T>& target, F handler) {
        registerUndo(std::weak_ptr<T>(target), std::move(handler));
    }

    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    bool isUndoing() const { return state_ == State::undoing; }
    bool isRedoing() const { return state_ == State::redoing; }

    void beginUndoGrouping();
    void endUndoGrouping();
    // How deep the open groups nest; 0 when none is open.
    int groupingLevel() const { return groupingLevel_; }
    bool groupsByEvent() const { return groupsByEvent_; }
    void setGroupsByEvent(bool groupsByEvent) { groupsByEvent_ = groupsByEvent; }

    // Registrations are ignored while disabled; calls nest.
    void disableUndoRegistration() { ++disabledCount_; }
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return disabledCount_ == 0; }

    // Empties both stacks and the group being built; open groups stay open.
    void removeAllActions();
    // The same for the actions of one target.
    void removeAllActions(const std::weak_ptr<const void>& target);

    // Names the group being built, or else the one on top of the undo stack.
    void setActionName(std::string name);
    std::string undoActionName() const;
    std::string redoActionName() const;

    // The most groups each stack keeps, dropping the oldest; 0 is no limit.
    std::size_t levelsOfUndo() const { return levelsOfUndo_; }
    void setLevelsOfUndo(std::size_t levels);

private:
    struct Action {
        std::weak_ptr<const void> target;
        std::function<void()> run;
    };
    struct Group {
        std::vector<Action> actions;
        std::string name;
        bool isLive() const;
    };
    enum class State { idle, undoing, redoing };

    void registerAction(std::weak_ptr<const void> target, std::function<void()> run);
    void closeAutomaticGroup();
    void push(std::vector<Group>& stack, Group group);
    void trim(std::vector<Group>& stack);
    void replay(State state);

    std::vector<Group> undoStack_;
    std::vector<Group> redoStack_;
    std::optional<Group> open_; // the outermost open group, or the one undo or redo fills
    int groupingLevel_ = 0;
    bool automaticGroupOpen_ = false;
    bool automaticCloseDue_ = false;
    RunLoop::Token automaticCloseToken_ = 0;
    bool groupsByEvent_ = true;
    int disabledCount_ = 0;
    std::size_t levelsOfUndo_ = 0;
    State state_ = State::idle;
};

} // namespace foundation
