#pragma once

#include <fmt/format.h>

#include <concepts>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace foundation {

// A callable that builds a log message on demand.
template <class F>
concept LogMessageBuilder =
    std::invocable<F&> && std::convertible_to<std::invoke_result_t<F&>, std::string_view>;

// The unified log's stand-in: one line per message on standard error,
// "<level> <subsystem>[<category>] <message>". Each logger is a Qt logging category named
// "<subsystem>.<category>", so QT_LOGGING_RULES (or QLoggingCategory::setFilterRules) switches
// its levels. Debug is off unless a rule enables it; info and error are on unless a rule turns
// them off. Notice goes with info and fault with error; rules name error and fault "critical".
//
// Messages are built only when their level is enabled: pass a callable, or an fmt format with
// its arguments. Cheap to copy; safe on any thread.
class Logger {
public:
    Logger(std::string_view subsystem, std::string_view category);

    // The log of no subsystem: its lines are "<level> <message>", and its Qt logging category
    // is named "default", like Qt's own, so "default.debug=true" switches its debug level on.
    static Logger defaultLog();

    const std::string& subsystem() const;
    const std::string& category() const;

    bool isDebugEnabled() const;
    bool isInfoEnabled() const;
    bool isErrorEnabled() const;

    template <LogMessageBuilder F> void debug(F&& build) const {
        if (isDebugEnabled()) write(Level::debug, std::forward<F>(build)());
    }
    template <class... Args> void debug(fmt::format_string<Args...> format, Args&&... args) const {
        if (isDebugEnabled()) write(Level::debug, fmt::format(format, std::forward<Args>(args)...));
    }

    template <LogMessageBuilder F> void info(F&& build) const {
        if (isInfoEnabled()) write(Level::info, std::forward<F>(build)());
    }
    template <class... Args> void info(fmt::format_string<Args...> format, Args&&... args) const {
        if (isInfoEnabled()) write(Level::info, fmt::format(format, std::forward<Args>(args)...));
    }

    template <LogMessageBuilder F> void notice(F&& build) const {
        if (isInfoEnabled()) write(Level::notice, std::forward<F>(build)());
    }
    template <class... Args> void notice(fmt::format_string<Args...> format, Args&&... args) const {
        if (isInfoEnabled()) write(Level::notice, fmt::format(format, std::forward<Args>(args)...));
    }

    template <LogMessageBuilder F> void error(F&& build) const {
        if (isErrorEnabled()) write(Level::error, std::forward<F>(build)());
    }
    template <class... Args> void error(fmt::format_string<Args...> format, Args&&... args) const {
        if (isErrorEnabled()) write(Level::error, fmt::format(format, std::forward<Args>(args)...));
    }

    template <LogMessageBuilder F> void fault(F&& build) const {
        if (isErrorEnabled()) write(Level::fault, std::forward<F>(build)());
    }
    template <class... Args> void fault(fmt::format_string<Args...> format, Args&&... args) const {
        if (isErrorEnabled()) write(Level::fault, fmt::format(format, std::forward<Args>(args)...));
    }

    struct Category;

private:
    enum class Level { debug, info, notice, error, fault };
    explicit Logger(const Category* category)
        : category_(category) {}
    void write(Level level, std::string_view message) const;

    const Category* category_; // owned by a process-wide registry, never destroyed
};

} // namespace foundation
