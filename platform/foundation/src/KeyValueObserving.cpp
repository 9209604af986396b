#include "foundation/KeyValueObserving.h"

namespace foundation {

void KeyValueObserver::observeValue(std::string_view, Object*, const KeyValueChange&, void*) {}

} // namespace foundation
