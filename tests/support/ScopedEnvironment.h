#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support {

// Sets (or, with nullptr, unsets) an environment variable and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const char* value)
        : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) previous_ = old;
        set(value);
    }
    ~ScopedEnvironment() { set(previous_ ? previous_->c_str() : nullptr); }
    void set(const char* value) { value ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str()); }

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace testing_support
