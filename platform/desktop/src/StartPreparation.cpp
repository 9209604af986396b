#include "desktop/RunApp.h"

#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

#include <fontconfig/fontconfig.h>

namespace desktop {

StartPreparation::StartPreparation()
    : thread_([] {
        FcInit();
        // Kept by the locale once asked: the calendar of the day-change watch finds it ready.
        foundation::Locale::current().firstWeekday();
        // The zone database's index too (a walk over its folder), which the calendar reads next.
        foundation::TimeZone::current();
    }) {}

StartPreparation::~StartPreparation() {
    thread_.join();
}

} // namespace desktop
