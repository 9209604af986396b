#include "Prefs/Bridges.h"

#include <cstdio>

namespace Prefs::detail {

void printDiagnostic(std::string_view description) {
    std::fwrite(description.data(), 1, description.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace Prefs::detail
