#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

namespace foundation {

// A bundle's string tables, each loaded on first use and kept: text by English text.
class LocalizedStringTables {
public:
    explicit LocalizedStringTables(std::filesystem::path resources)
        : resources_(std::move(resources)) {}

    // The text for `key` in `<language>.lproj/<table>.strings`, or nullptr. The pointer stays
    // valid as long as this object: loaded tables are never dropped.
    const std::string* find(std::string_view language, std::string_view table, std::string_view key);

private:
    using Table = std::map<std::string, std::string, std::less<>>;

    std::shared_ptr<const Table> load(const std::filesystem::path& file) const;

    const std::filesystem::path resources_;
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const Table>, std::less<>> tables_; // by "<language>/<table>"
};

} // namespace foundation
