#include "foundation/Logger.h"

#include <QLoggingCategory>

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace foundation {

struct Logger::Category {
    Category(std::string_view subsystem, std::string_view category)
        : Category(subsystem, category, fmt::format("{}.{}", subsystem, category),
                   fmt::format("{}[{}] ", subsystem, category)) {}
    Category(std::string_view subsystem, std::string_view category, std::string name, std::string prefix)
        : subsystem(subsystem)
        , category(category)
        , name(std::move(name))
        , prefix(std::move(prefix))
        // Enabled from info up: debug waits for a rule.
        , qt(this->name.c_str(), QtInfoMsg) {}

    const std::string subsystem;
    const std::string category;
    const std::string name; // QLoggingCategory keeps only the pointer
    const std::string prefix; // what a line shows before the message
    QLoggingCategory qt;
};

namespace {

std::mutex registryMutex;

// Loggers may be made and used while the process exits, so the categories are never destroyed.
std::map<std::string, std::unique_ptr<Logger::Category>, std::less<>>& registry() {
    static auto* categories = new std::map<std::string, std::unique_ptr<Logger::Category>, std::less<>>;
    return *categories;
}

std::mutex outputMutex;

} // namespace

Logger::Logger(std::string_view subsystem, std::string_view category) {
    const std::string name = fmt::format("{}.{}", subsystem, category);
    std::lock_guard lock(registryMutex);
    auto& categories = registry();
    auto it = categories.find(name);
    if (it == categories.end())
        it = categories.emplace(name, std::make_unique<Category>(subsystem, category)).first;
    category_ = it->second.get();
}

Logger Logger::defaultLog() {
    // Not in the registry: no subsystem and category pair can name it.
    static const auto* category = new Category("", "", "default", "");
    return Logger(category);
}

const std::string& Logger::subsystem() const {
    return category_->subsystem;
}
const std::string& Logger::category() const {
    return category_->category;
}

bool Logger::isDebugEnabled() const {
    return category_->qt.isDebugEnabled();
}
bool Logger::isInfoEnabled() const {
    return category_->qt.isInfoEnabled();
}
bool Logger::isErrorEnabled() const {
    return category_->qt.isCriticalEnabled();
}

void Logger::write(Level level, std::string_view message) const {
    static constexpr std::string_view names[] = {"debug", "info", "notice", "error", "fault"};
    std::string line = fmt::format("{} {}", names[static_cast<int>(level)], category_->prefix);
    line.reserve(line.size() + message.size() + 1);
    // One message, one line.
    for (char c : message) {
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else {
            line += c;
        }
    }
    line += '\n';
    std::lock_guard lock(outputMutex);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace foundation
