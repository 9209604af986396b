#include "ui/DisplayClock.h"

#include <cmath>

namespace ui {

DisplayClock::DisplayClock(double refreshRate) {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { deliverFrame(); });
    setRefreshRate(refreshRate);
}

DisplayClock::~DisplayClock() {
    timer_.stop();
}

void DisplayClock::setRefreshRate(double hertz) {
    refreshRate_ = std::isfinite(hertz) && hertz > 0 ? hertz : defaultRefreshRate;
    applyInterval();
}

void DisplayClock::applyInterval() {
    // Whole milliseconds: a 60 Hz display ticks every 16 ms, a little ahead rather than behind.
    timer_.setInterval(std::max(1, static_cast<int>(1000.0 / refreshRate_)));
}

void DisplayClock::runningChanged(bool running) {
    if (running)
        timer_.start();
    else
        timer_.stop();
}

} // namespace ui
