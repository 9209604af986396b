#include "ViewKit/ViewAutosave.h"

#include "foundation/DispatchQueue.h"

namespace ViewKit::detail {

void AutosaveState::flush() {
    if (!pending) return;
    pending = false;
    if (action) action();
}

AutosaveGuard::~AutosaveGuard() {
    if (state->pending) foundation::DispatchQueue::main().async([state = state] { state->flush(); });
}

} // namespace ViewKit::detail
