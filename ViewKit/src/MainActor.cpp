#include "ViewKit/MainActor.h"

#include "foundation/Fatal.h"
#include "foundation/MainThread.h"

#include <string>

namespace ViewKit::detail {

void requireMainActor(std::string_view operation) {
    if (foundation::isMainThread()) return;
    foundation::fatal(std::string(operation) + " must be called on the main actor");
}

} // namespace ViewKit::detail
