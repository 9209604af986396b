#include "ViewKit/ValidationRegex.h"

#include "foundation/Logger.h"
#include "foundation/RegularExpression.h"

#include <mutex>
#include <set>

namespace ViewKit {

const ValidationRegex ValidationRegex::email{R"([A-Z0-9a-z._%+-]+@[A-Za-z0-9.-]+\.[A-Za-z]{2,} ?)"};

namespace {

void logInvalidOnce(const std::string& expression, const char* reason) {
    static std::mutex mutex;
    static std::set<std::string> logged;
    {
        std::lock_guard lock(mutex);
        if (!logged.insert(expression).second) return;
    }
    static const foundation::Logger log("ViewKit", "ValidationRegex");
    log.error("{}", reason);
}

} // namespace

bool ValidationRegex::matches(std::string_view text) const {
    try {
        return foundation::matchesRegularExpression(text, expression);
    } catch (const foundation::RegularExpressionError& error) {
        logInvalidOnce(expression, error.what());
        return false;
    }
}

bool matches(std::string_view text, const ValidationRegex& regex) {
    return regex.matches(text);
}

} // namespace ViewKit
