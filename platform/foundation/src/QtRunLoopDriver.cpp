#include "foundation/QtRunLoopDriver.h"

#include "foundation/Clock.h"

#include <QMetaObject>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <cmath>

namespace foundation {

struct QtRunLoopDriver::State : std::enable_shared_from_this<QtRunLoopDriver::State> {
    QObject context;
    QTimer timer;
    std::atomic<bool> wakePending{false};
    bool installed = true; // main thread only

    State() {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &context, [this] { turn(); });
    }

    void turn() {
        wakePending = false;
        // The work may destroy the driver; the state then lives to the end of this turn.
        auto self = shared_from_this();
        RunLoop::main().runDue();
        if (installed) arm();
    }

    // Sets the Qt timer to the loop's earliest deadline.
    void arm() {
        auto next = RunLoop::main().nextDeadline();
        if (!next) {
            timer.stop();
            return;
        }
        const double delay = *next - Clock::current()->uptime();
        const int ms = delay <= 0 ? 0 : static_cast<int>(std::min(std::ceil(delay * 1000.0), 86400000.0));
        timer.start(ms);
    }
};

QtRunLoopDriver::QtRunLoopDriver()
    : state_(std::make_shared<State>()) {
    RunLoop::main().setDriver(this);
}

QtRunLoopDriver::~QtRunLoopDriver() {
    RunLoop::main().setDriver(nullptr);
    state_->installed = false;
    state_->timer.stop();
}

void QtRunLoopDriver::wake(std::optional<double>) {
    // Coalesce wake-ups from many posts into one queued turn.
    if (state_->wakePending.exchange(true)) return;
    std::weak_ptr<State> weak = state_;
    QMetaObject::invokeMethod(
        &state_->context,
        [weak] {
            auto state = weak.lock();
            if (!state) return;
            state->wakePending = false; // before reading the deadline, so no later wake is lost
            state->arm();
        },
        Qt::QueuedConnection);
}

} // namespace foundation
