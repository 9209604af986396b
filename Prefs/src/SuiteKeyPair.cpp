#include "Prefs/SuiteKeyPair.h"

namespace Prefs {

bool SuiteKeyPair::operator==(const SuiteKeyPair& other) const {
    if (key_ != other.key_) return false;
    const auto mine = suite_.lock();
    const auto theirs = other.suite_.lock();
    if (!mine || !theirs) return !mine && !theirs;
    return mine->isEqual(*theirs);
}

std::size_t SuiteKeyPair::hash() const {
    std::size_t h = std::hash<std::string>{}(key_);
    const auto combine = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    if (const auto suite = suite_.lock()) {
        combine(1);
        combine(suite->hash());
    } else {
        combine(0);
    }
    return h;
}

} // namespace Prefs
