#include "LocalizedStringTables.h"

#include "PropertyListFile.h"

#include "foundation/Logger.h"
#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include <cstddef>

namespace foundation {

namespace {

// Table and language names become file names, so they must not reach outside Resources/.
bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

const std::string* LocalizedStringTables::find(std::string_view language, std::string_view table,
                                               std::string_view key) {
    if (!isPlainName(language) || !isPlainName(table)) return nullptr;
    std::string id;
    id.reserve(language.size() + table.size() + 1);
    id.append(language).append("/").append(table);

    std::shared_ptr<const Table> strings;
    {
        // Loading under the lock keeps each table to one read and one log line.
        std::lock_guard lock(mutex_);
        auto it = tables_.find(id);
        if (it == tables_.end()) {
            const auto file =
                resources_ / (std::string(language) + ".lproj") / (std::string(table) + ".strings");
            it = tables_.emplace(std::move(id), load(file)).first;
        }
        strings = it->second;
    }
    const auto found = strings->find(key);
    return found == strings->end() ? nullptr : &found->second;
}

std::shared_ptr<const LocalizedStringTables::Table>
LocalizedStringTables::load(const std::filesystem::path& file) const {
    auto table = std::make_shared<Table>();
    const Logger log("foundation", "Bundle");
    PropertyList contents;
    try {
        contents = readPropertyListFile(file);
    } catch (const PropertyListError& e) {
        log.error("string table {} is ignored: {}", file.string(), e.what());
        return table;
    }
    if (contents.isAbsent()) return table;
    const auto* dictionary = contents.dictionary();
    if (!dictionary) {
        log.error("string table {} is ignored: it holds no dictionary", file.string());
        return table;
    }
    std::size_t skipped = 0;
    for (const auto& [key, value] : *dictionary) {
        if (const auto* text = value.string()) {
            table->emplace(key, *text);
        } else {
            ++skipped;
        }
    }
    if (skipped > 0)
        log.error("string table {}: {} entries that are not text are ignored", file.string(), skipped);
    return table;
}

} // namespace foundation
