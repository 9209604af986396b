#include "desktop/RunApp.h"

#include "foundation/Locale.h"

#include <fontconfig/fontconfig.h>

namespace desktop {

StartPreparation::StartPreparation()
    : thread_([] {
        FcInit();
        // Kept by the locale once asked: the calendar of the day-change watch finds it ready.
        foundation::Locale::current().firstWeekday();
    }) {}

StartPreparation::~StartPreparation() {
    thread_.join();
}

} // namespace desktop
