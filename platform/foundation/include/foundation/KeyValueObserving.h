#pragma once

#include "foundation/Object.h"
#include "foundation/PropertyList.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace foundation {

enum class KeyValueObservingOption : unsigned { newValue = 1, oldValue = 2, initial = 4, prior = 8 };

// A set of observing options.
class KeyValueObservingOptions {
public:
    constexpr KeyValueObservingOptions() = default;
    constexpr KeyValueObservingOptions(KeyValueObservingOption option)
        : raw_(unsigned(option)) {}
    constexpr explicit KeyValueObservingOptions(unsigned raw)
        : raw_(raw) {}

    constexpr bool contains(KeyValueObservingOption option) const { return (raw_ & unsigned(option)) != 0; }
    constexpr unsigned rawValue() const { return raw_; }

    friend constexpr KeyValueObservingOptions operator|(KeyValueObservingOptions a,
                                                        KeyValueObservingOptions b) {
        return KeyValueObservingOptions(a.raw_ | b.raw_);
    }
    constexpr bool operator==(const KeyValueObservingOptions&) const = default;

private:
    unsigned raw_ = 0;
};

constexpr KeyValueObservingOptions operator|(KeyValueObservingOption a, KeyValueObservingOption b) {
    return KeyValueObservingOptions(unsigned(a) | unsigned(b));
}

enum class KeyValueChangeKind : unsigned { setting = 1, insertion = 2, removal = 3, replacement = 4 };

// What an observer is told. An absent value means "no value": the option was not requested, or
// the key has no value.
struct KeyValueChange {
    KeyValueChangeKind kind = KeyValueChangeKind::setting;
    PropertyList newValue;
    PropertyList oldValue;
    bool isPrior = false;
    std::optional<std::vector<std::size_t>> indexes;
};

// Receives changes of the key paths it was registered for. Observed objects hold it weakly, so
// it must be owned by a std::shared_ptr when it registers.
class KeyValueObserver : public Object {
public:
    // `object` is the observed object. Does nothing unless overridden.
    virtual void observeValue(std::string_view keyPath, Object* object, const KeyValueChange& change,
                              void* context);
};

} // namespace foundation
