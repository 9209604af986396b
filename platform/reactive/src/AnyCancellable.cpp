#include "reactive/AnyCancellable.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace reactive {

// The first cancel() runs the action; one racing it on another thread waits until the action
// is done, so that whoever sees cancel() return knows the subscription has ended. A cancel()
// from within the action itself returns at once.
struct AnyCancellable::State {
    std::mutex mutex;
    std::condition_variable finished;
    std::function<void()> cancel;
    bool running = false;
    std::thread::id runner;

    void run() {
        std::function<void()> action;
        {
            std::unique_lock lock(mutex);
            if (running) {
                if (runner != std::this_thread::get_id()) finished.wait(lock, [&] { return !running; });
                return;
            }
            if (!cancel) return;
            action = std::exchange(cancel, nullptr);
            running = true;
            runner = std::this_thread::get_id();
        }
        struct Done {
            State& state;
            std::function<void()>& action;
            ~Done() {
                action = nullptr; // what the action held goes before anyone is told
                {
                    std::lock_guard lock(state.mutex);
                    state.running = false;
                }
                state.finished.notify_all();
            }
        } done{*this, action};
        action();
    }

    ~State() { run(); }
};

AnyCancellable::AnyCancellable(std::function<void()> cancel)
    : state_(std::make_shared<State>()) {
    state_->cancel = std::move(cancel);
}

AnyCancellable::AnyCancellable(std::shared_ptr<Cancellable> cancellable)
    : AnyCancellable(cancellable ? std::function<void()>([c = std::move(cancellable)] { c->cancel(); })
                                 : std::function<void()>()) {}

void AnyCancellable::cancel() const {
    // A copy: the action may release the owner of this very cancellable, and with it state_.
    if (auto state = state_) state->run();
}

} // namespace reactive
