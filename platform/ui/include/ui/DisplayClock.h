#pragma once

#include "ui/Clock.h"

#include <QTimer>

namespace ui {

// The clock of a window: ticks at the display's refresh rate from Qt's event loop while
// anything is subscribed, and not at all otherwise.
class DisplayClock final : public Clock {
public:
    static constexpr double defaultRefreshRate = 60;

    explicit DisplayClock(double refreshRate = defaultRefreshRate);
    ~DisplayClock() override;

    double frameInterval() const override { return 1.0 / refreshRate_; }
    double refreshRate() const { return refreshRate_; }
    // Rates that are not positive or finite fall back to the default.
    void setRefreshRate(double hertz);
    bool isTicking() const { return timer_.isActive(); }

protected:
    void runningChanged(bool running) override;

private:
    void applyInterval();

    QTimer timer_;
    double refreshRate_ = defaultRefreshRate;
};

} // namespace ui
