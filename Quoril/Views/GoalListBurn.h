#pragma once

#include "Model/Item.h"
#include "Views/GoalListActions.h"

#include "foundation/UUID.h"
#include "foundation/UndoManager.h"
#include "graphics/CGFloat.h"
#include "store/Predicate.h"
#include "ui/State.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <memory>
#include <set>

namespace quoril {

// The burn of the goal list's accomplished goals: a dark overlay over the completed rows, burnt
// away by the "burn" shader over three seconds, after which those goals are deleted. Its states
// belong to the list's view; the closures it hands out stay valid as long as the list and do
// nothing once it has gone. Main thread only.
struct GoalListBurn {
    static constexpr double duration = 3.0;

    GoalListActions list;
    ui::State<float> burningTime;
    ui::State<int> burnSeed;
    ui::State<bool> isBurning;
    ui::State<graphics::CGFloat> completedItemsHeight;
    std::shared_ptr<foundation::UndoManager> undoManager;
    // Held by the list's view alone: expired once the view has gone.
    std::weak_ptr<const void> alive;

    // The burn's states, made in the list's view context.
    static GoalListBurn make(ui::ViewContext& ctx, GoalListActions list);
    // A whole number from 1 to 9999, uniformly.
    static int randomSeed();

    // Saves what is pending, covers the completed rows, starts the shader's time, clears the
    // undo history, and deletes the completed goals three seconds later.
    void burnCompletedItems() const;
    // The change handler of isBurning: runs the time to 1 over the burn, or resets it and
    // draws a new seed.
    void isBurningChanged(bool burning) const;
    // `burning`: the listed goals that were completed at the start.
    void burnTimerFired(const store::Predicate<Item>& predicate,
                        const std::set<foundation::UUID>& burning) const;
    void deleteBurnedItems(const store::Predicate<Item>& predicate,
                           const std::set<foundation::UUID>& burning) const;
    // The completed goals of the collection (of none, without one).
    static store::Predicate<Item> burnPredicate(const std::shared_ptr<ItemCollection>& collection);
    // The body of the burn's save tasks: saves the context when it has changes; a failure is
    // dropped.
    static void saveIfChanged(const std::shared_ptr<store::ModelContext>& context);
    // The summed height of the reported rows whose goals are completed; a row reported at a
    // position the list no longer has counts for nothing.
    graphics::CGFloat completedRowsHeight() const;

    // The list's top overlay.
    ui::View burnOverlay() const;
    // The first toolbar item: "Burn", with a flame, red and enabled while a listed goal is
    // completed.
    ui::View burnButton(bool anyCompleted) const;
};

} // namespace quoril
