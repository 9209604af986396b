#pragma once

#include "foundation/AsyncStream.h"
#include "foundation/Notification.h"
#include "foundation/ScenePhase.h"
#include "foundation/Task.h"
#include "store/ModelContainer.h"

#include <memory>

// The automatic burning of completed goals, driven by the scene's phase and by day changes.
// Main thread only.
namespace quoril {

// Deletes the completed goals of every collection, with no undo. The shared container's main
// context is saved first, so that goals completed a moment ago are burnt too; the deletion
// goes through a container of its own over the same file, and the main context takes it in
// when that container saves. Failures are let go.
void autoBurnCompletedItems(store::ModelContainer& sharedContainer);

// The day-change task, kept so that activations never start a second one. Destroying the
// watch cancels its task.
class DayChangeWatch {
public:
    DayChangeWatch();
    ~DayChangeWatch();
    DayChangeWatch(const DayChangeWatch&) = delete;
    DayChangeWatch& operator=(const DayChangeWatch&) = delete;

    bool isRunning() const;
    // Starts the task unless one runs; it lasts while the container does.
    void start(const std::shared_ptr<store::ModelContainer>& sharedContainer);
    // The task ends at the run loop's next turn.
    void cancel();

    struct State;

private:
    std::shared_ptr<State> state_;
};

// The scene-phase rule. Background: burns when "burnOnQuit" is set. Active, with
// "burnAtEndOfDay" set: burns when "lastAutoBurnDate" lies before the start of today, stamps
// "lastAutoBurnDate" with now either way, and makes sure the day-change task runs.
void scenePhaseChanged(foundation::ScenePhase newPhase,
                       const std::shared_ptr<store::ModelContainer>& sharedContainer, DayChangeWatch& watch);

// The day-change task's body: at each day change, while "burnAtEndOfDay" is still set, burns
// and stamps "lastAutoBurnDate" with now. Ends with the stream or when the container is gone.
foundation::Task<> watchDayChanges(std::weak_ptr<store::ModelContainer> sharedContainer,
                                   foundation::AsyncStream<foundation::Notification> dayChanges);

} // namespace quoril
