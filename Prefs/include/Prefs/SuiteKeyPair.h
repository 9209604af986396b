#pragma once

#include "foundation/UserDefaults.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace Prefs {

// Names the key that changed: its suite (held weakly; empty once the suite is gone) and name.
class SuiteKeyPair {
public:
    SuiteKeyPair(std::weak_ptr<foundation::UserDefaults> suite, std::string key)
        : suite_(std::move(suite))
        , key_(std::move(key)) {}

    std::shared_ptr<foundation::UserDefaults> suite() const { return suite_.lock(); }
    const std::string& key() const { return key_; }

    // Equal keys, and either both suites gone or both equal objects.
    bool operator==(const SuiteKeyPair& other) const;
    std::size_t hash() const;

private:
    std::weak_ptr<foundation::UserDefaults> suite_;
    std::string key_;
};

} // namespace Prefs

template <> struct std::hash<Prefs::SuiteKeyPair> {
    std::size_t operator()(const Prefs::SuiteKeyPair& pair) const noexcept { return pair.hash(); }
};
