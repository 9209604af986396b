#include "Prefs/WithoutPropagation.h"

#include "foundation/Thread.h"

#include <any>
#include <string>

namespace Prefs {

namespace {

// Never destroyed: other threads may still write preferences while the process exits.
const std::string& flagKey() {
    static const auto* key = new std::string("_PrefsObservation.Protocol_threadUpdatingValuesFlag");
    return *key;
}

void setFlag(bool value) {
    foundation::Thread::current().threadDictionary()[flagKey()] = value;
}

// Cleared, not restored, at the end: a nested block ends the suppression of the enclosing one.
struct Suppression {
    Suppression() { setFlag(true); }
    ~Suppression() { setFlag(false); }
    Suppression(const Suppression&) = delete;
    Suppression& operator=(const Suppression&) = delete;
};

} // namespace

void withoutPropagation(const std::function<void()>& block) {
    Suppression suppression;
    if (block) block();
}

bool detail::isPropagationSuppressed() {
    auto& dictionary = foundation::Thread::current().threadDictionary();
    const auto it = dictionary.find(flagKey());
    if (it == dictionary.end()) return false;
    const bool* flag = std::any_cast<bool>(&it->second);
    return flag && *flag;
}

} // namespace Prefs
