#include "App/PreferenceKeys.h"

#include <string>

namespace quoril {

namespace {

template <class Value>
const std::shared_ptr<Prefs::Key<Value>>* makeKey(std::string name, Value defaultValue) {
    return new std::shared_ptr<Prefs::Key<Value>>(
        std::make_shared<Prefs::Key<Value>>(std::move(name), std::move(defaultValue)));
}

} // namespace

const std::shared_ptr<Prefs::Key<bool>>& burnOnQuit() {
    static const auto* key = makeKey("burnOnQuit", false);
    return *key;
}

const std::shared_ptr<Prefs::Key<bool>>& burnAtEndOfDay() {
    static const auto* key = makeKey("burnAtEndOfDay", false);
    return *key;
}

const std::shared_ptr<Prefs::Key<foundation::Date>>& lastAutoBurnDate() {
    static const auto* key = makeKey("lastAutoBurnDate", foundation::Date::now());
    return *key;
}

const std::shared_ptr<Prefs::Key<bool>>& accentColorMatchesDockIcon() {
    static const auto* key = makeKey("accentColorMatchesDockIcon", true);
    return *key;
}

} // namespace quoril
