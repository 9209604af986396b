#pragma once

#include "ViewKit/MainActor.h"
#include "ViewKit/ViewOperation.h"

#include "foundation/Date.h"
#include "foundation/RunLoop.h"
#include "reactive/AnyCancellable.h"
#include "reactive/Debounce.h"
#include "ui/View.h"
#include "ui/ViewContext.h"

#include <functional>
#include <memory>
#include <utility>

namespace ViewKit {

namespace detail {

// Whether a value waits for its interval to pass, and the action that saves it.
struct AutosaveState {
    bool pending = false;
    std::function<void()> action;
    // Runs the action once if a value waits.
    void flush();
};

// Held by the view's element: when it goes with a value waiting (a window closing), the save
// runs from the main queue rather than inside the teardown.
struct AutosaveGuard {
    std::shared_ptr<AutosaveState> state = std::make_shared<AutosaveState>();
    ~AutosaveGuard();
};

template <class P> struct AutosaveModifier {
    P publisher;
    foundation::TimeInterval interval;
    std::function<void()> action;

    ui::View body(ui::ViewContext& ctx, ui::View content) const {
        auto state = ctx.stateObject<AutosaveGuard>("autosave", [] { return std::make_shared<AutosaveGuard>(); })->state;
        state->action = action;
        // Keyed by the publisher itself, so updates of the view keep the interval running.
        ui::detail::EquatableValue identity(ui::detail::PublisherIdentity<P>{publisher});
        return content
            .onReceiveErased(std::move(identity),
                             [publisher = publisher, interval = interval, state](ui::Element&) -> std::function<void()> {
                                 auto seen = std::make_shared<reactive::AnyCancellable>(
                                     publisher.sink([state](const auto&) { state->pending = true; }));
                                 auto saved = std::make_shared<reactive::AnyCancellable>(
                                     publisher.debounce(interval, foundation::RunLoop::main())
                                         .sink([state](const auto&) { state->flush(); }));
                                 return [seen, saved] {
                                     seen->cancel();
                                     saved->cancel();
                                 };
                             })
            .onDisappear([state] { state->flush(); });
    }
};

} // namespace detail

// Calls `action` once the publisher has been quiet for `interval` seconds after a value (each
// value starts the interval anew), on the main run loop; the value itself is dropped. A value
// still waiting when the view leaves the hierarchy is saved at once, so an edit made just before
// a window closes is not lost.
template <class P>
ViewOperation autosave(P publisher, foundation::TimeInterval interval, std::function<void()> action) {
    detail::requireMainActor("autosave");
    return ViewOperation([modifier = detail::AutosaveModifier<P>{std::move(publisher), interval, std::move(action)}](
                             const ui::View& view) { return view.modifier(modifier); });
}

} // namespace ViewKit
