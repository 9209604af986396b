#include "foundation/Fatal.h"

#include <cstdio>
#include <cstdlib>

namespace foundation {

void fatal(std::string_view msg) {
    std::fprintf(stderr, "Fatal error: %.*s\n", static_cast<int>(msg.size()), msg.data());
    std::fflush(stderr);
    std::abort();
}

} // namespace foundation
