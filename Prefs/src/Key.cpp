#include "Prefs/Key.h"
#include "Prefs/Reset.h"

#include "foundation/Fatal.h"

#include <algorithm>
#include <functional>

namespace Prefs {

_AnyKey::_AnyKey(std::string name, std::shared_ptr<foundation::UserDefaults> suite)
    : name_(std::move(name))
    , suite_(std::move(suite)) {
    if (!suite_) foundation::fatal("Prefs.Key: no suite for the key \"" + name_ + "\"");
}

_AnyKey::~_AnyKey() = default;

void _AnyKey::reset() const {
    suite_->removeObjectForKey(name_);
}

std::size_t _AnyKey::hash() const {
    const std::size_t h = std::hash<std::string>{}(name_);
    return h ^ (std::hash<const void*>{}(suite_.get()) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

bool isValidKeyPath(std::string_view name) {
    if (name.starts_with('@')) return false;
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return c == '.' || static_cast<unsigned char>(c) >= 0x80; });
}

void reset(const std::vector<std::shared_ptr<_AnyKey>>& keys) {
    for (const auto& key : keys)
        key->reset();
}

void reset(foundation::UserDefaults& suite, const std::vector<std::string>& names) {
    for (const auto& name : names)
        suite.removeObjectForKey(name);
}

void removeAll(foundation::UserDefaults& suite) {
    for (const auto& [key, value] : suite.dictionaryRepresentation())
        suite.removeObjectForKey(key);
}

} // namespace Prefs
