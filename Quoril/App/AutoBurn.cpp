#include "App/AutoBurn.h"

#include "App/PreferenceKeys.h"
#include "Model/Item.h"

#include "Prefs/ValueAccess.h"

#include "foundation/Calendar.h"
#include "foundation/Date.h"
#include "foundation/DayChangeSource.h"
#include "foundation/NotificationCenter.h"
#include "store/ModelConfiguration.h"
#include "store/ModelContext.h"
#include "store/Predicate.h"
#include "store/Schema.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <utility>

namespace quoril {

void autoBurnCompletedItems(store::ModelContainer& sharedContainer) {
    sharedContainer.mainContext()->autosaveNow();
    try {
        store::ModelContainer burn(store::Schema::of<Item>(), sharedContainer.configuration());
        const auto& context = burn.mainContext();
        // Saved right here; a context that saved itself on the way out would only retry a failure.
        context->setAutosaveEnabled(false);
        context->deleteModels(store::Predicate<Item>::equals("completed", true));
        if (context->hasChanges()) context->save();
    } catch (const std::exception&) {
        // Nothing to tell the user: the goals stay until the next burn.
    }
}

struct DayChangeWatch::State {
    std::optional<foundation::Task<>> task;
    std::uint64_t generation = 0; // which task `running` speaks of
    bool running = false;
};

DayChangeWatch::DayChangeWatch()
    : state_(std::make_shared<State>()) {}

DayChangeWatch::~DayChangeWatch() {
    cancel();
}

bool DayChangeWatch::isRunning() const {
    return state_->running;
}

void DayChangeWatch::start(const std::shared_ptr<store::ModelContainer>& sharedContainer) {
    if (state_->running) return;
    state_->running = true;
    const std::uint64_t generation = ++state_->generation;
    // Subscribed now rather than when the task first runs, so no day change falls in between.
    auto dayChanges = foundation::NotificationCenter::defaultCenter().notifications(
        foundation::NSCalendarDayChangedNotification);
    state_->task =
        foundation::Task([container = std::weak_ptr(sharedContainer), dayChanges = std::move(dayChanges),
                          state = std::weak_ptr(state_), generation]() mutable -> foundation::Task<> {
            co_await watchDayChanges(std::move(container), std::move(dayChanges));
            // A cancelled task may end after its successor started.
            if (auto alive = state.lock(); alive && alive->generation == generation) alive->running = false;
        });
}

void DayChangeWatch::cancel() {
    if (state_->task) state_->task->cancel();
    state_->task.reset();
    state_->running = false;
}

void scenePhaseChanged(foundation::ScenePhase newPhase,
                       const std::shared_ptr<store::ModelContainer>& sharedContainer, DayChangeWatch& watch) {
    switch (newPhase) {
    case foundation::ScenePhase::background:
        if (Prefs::get(burnOnQuit())) autoBurnCompletedItems(*sharedContainer);
        return;
    case foundation::ScenePhase::active: {
        if (!Prefs::get(burnAtEndOfDay())) return;
        const auto calendar = foundation::Calendar::autoupdatingCurrent();
        if (Prefs::get(lastAutoBurnDate()) < calendar.startOfDay(foundation::Date::now()))
            autoBurnCompletedItems(*sharedContainer);
        // Stamped at every activation, so a user who always quits before midnight still has
        // the first activation of a new day burn.
        Prefs::set(lastAutoBurnDate(), foundation::Date::now());
        watch.start(sharedContainer);
        return;
    }
    case foundation::ScenePhase::inactive:
        return;
    }
}

foundation::Task<> watchDayChanges(std::weak_ptr<store::ModelContainer> sharedContainer,
                                   foundation::AsyncStream<foundation::Notification> dayChanges) {
    while (co_await dayChanges.next()) {
        if (foundation::Task<>::isCancelledCurrent()) co_return;
        // Switched off since the task started: the task stays for when it is switched on again.
        if (!Prefs::get(burnAtEndOfDay())) continue;
        auto container = sharedContainer.lock();
        if (!container) co_return;
        autoBurnCompletedItems(*container);
        Prefs::set(lastAutoBurnDate(), foundation::Date::now());
    }
}

} // namespace quoril
