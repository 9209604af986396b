#pragma once

#include <stdexcept>
#include <string>

namespace store {

// What the store throws: opening, fetching or saving failed, or a caller named something the
// schema does not have. The description is meant for people.
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const std::string& description)
        : std::runtime_error(description) {}

    std::string description() const { return what(); }
};

} // namespace store
