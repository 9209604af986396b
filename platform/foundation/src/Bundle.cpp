#include "foundation/Bundle.h"

#include "LocalizedStringTables.h"
#include "PropertyListFile.h"

#include "foundation/Logger.h"
#include "foundation/PreferredLanguages.h"
#include "foundation/PropertyListSerialization.h"

#include <dlfcn.h>
#include <link.h>

#include <map>
#include <mutex>
#include <system_error>
#include <utility>

namespace foundation {

namespace fs = std::filesystem;

namespace {

const Logger& bundleLog() {
    static const Logger logger("foundation", "Bundle");
    return logger;
}

// Bundles are few and long-lived; never destroyed, so they stay usable while the process exits.
struct Registry {
    std::mutex mutex;
    std::map<fs::path, std::shared_ptr<Bundle>> bundles;
};

Registry& registry() {
    static auto* instance = new Registry;
    return *instance;
}

PropertyList::Dictionary readInfoDictionary(const fs::path& folder) {
    const fs::path file = folder / "Info.plist";
    PropertyList contents;
    try {
        contents = readPropertyListFile(file);
    } catch (const PropertyListError& e) {
        bundleLog().error("{} is ignored: {}", file.string(), e.what());
        return {};
    }
    if (contents.isAbsent()) return {};
    const auto* dictionary = contents.dictionary();
    if (!dictionary) {
        bundleLog().error("{} is ignored: it holds no dictionary", file.string());
        return {};
    }
    return *dictionary;
}

// Resource names come from callers; keep lookups inside the bundle.
bool staysInside(const fs::path& relative) {
    if (relative.empty() || relative.is_absolute()) return false;
    for (const auto& part : relative)
        if (part == "..") return false;
    return true;
}

bool pathExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

} // namespace

fs::path Bundle::programPath() {
    std::error_code ec;
    fs::path path = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        bundleLog().error("the program's file is unknown ({}); the current folder stands in for it",
                          ec.message());
        return fs::current_path(ec) / "unknown";
    }
    // A program replaced while it runs still finds the bundle installed with its replacement.
    static constexpr std::string_view deleted = " (deleted)";
    std::string text = path.string();
    if (text.ends_with(deleted)) {
        text.resize(text.size() - deleted.size());
        path = text;
    }
    return path;
}

namespace {

const link_map* mainProgramMap() {
    static const link_map* map = [] {
        link_map* found = nullptr;
        void* self = dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
        if (self) {
            if (dlinfo(self, RTLD_DI_LINKMAP, &found) != 0) found = nullptr;
            dlclose(self);
        }
        return found;
    }();
    return map;
}

} // namespace

Bundle::Bundle(fs::path path)
    : path_(std::move(path))
    , info_(readInfoDictionary(path_))
    , tables_(std::make_unique<LocalizedStringTables>(resourcePath())) {
    if (const auto* identifier = objectForInfoDictionaryKey("CFBundleIdentifier").string();
        identifier && !identifier->empty())
        identifier_ = *identifier;
}

Bundle::~Bundle() = default;

std::shared_ptr<Bundle> Bundle::open(const fs::path& canonicalPath) {
    auto& r = registry();
    // Opening under the lock reads each Info.plist once, and logs a bad one once.
    std::lock_guard lock(r.mutex);
    auto& bundle = r.bundles[canonicalPath];
    if (!bundle) bundle.reset(new Bundle(canonicalPath));
    return bundle;
}

const std::shared_ptr<Bundle>& Bundle::main() {
    static const auto* bundle = new std::shared_ptr<Bundle>([] {
        const fs::path program = Bundle::programPath();
        const fs::path folder = program.parent_path();
        if (auto installed = withPath(folder / ".." / "share" / program.filename())) return installed;
        if (auto beside = withPath(folder)) return beside;
        return open(folder.lexically_normal());
    }());
    return *bundle;
}

std::shared_ptr<Bundle> Bundle::withURL(const URL& url) {
    if (!url.isFileURL()) return nullptr;
    return withPath(url.path());
}

std::shared_ptr<Bundle> Bundle::withPath(const fs::path& path) {
    std::error_code ec;
    if (path.empty() || !fs::is_directory(path, ec)) return nullptr;
    const fs::path canonical = fs::canonical(path, ec);
    if (ec) return nullptr;
    return open(canonical);
}

std::shared_ptr<Bundle> Bundle::forCode(const void* address) {
    if (!address) return nullptr;
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0) return nullptr;
    if (map && map == mainProgramMap()) return main();
    if (!info.dli_fname || !*info.dli_fname) return nullptr;
    return withPath(fs::path(info.dli_fname).parent_path());
}

URL Bundle::bundleURL() const {
    return URL::fileURLWithPath(path_, true);
}

URL Bundle::resourceURL() const {
    return URL::fileURLWithPath(resourcePath(), true);
}

fs::path Bundle::resourcePath() const {
    return path_ / "Resources";
}

const PropertyList& Bundle::objectForInfoDictionaryKey(std::string_view key) const {
    static const PropertyList absent;
    const auto it = info_.find(key);
    return it == info_.end() ? absent : it->second;
}

std::optional<fs::path> Bundle::pathForResource(std::string_view name, std::string_view extension,
                                                std::string_view subdirectory) const {
    if (name.empty()) return std::nullopt;
    std::string file(name);
    if (!extension.empty()) {
        if (extension.front() != '.') file += '.';
        file += extension;
    }
    if (file.find('\0') != std::string::npos || subdirectory.find('\0') != std::string_view::npos)
        return std::nullopt;
    const fs::path relative = fs::path(subdirectory) / file;
    if (!staysInside(relative)) return std::nullopt;
    for (const fs::path& base : {resourcePath(), path_}) {
        fs::path candidate = base / relative;
        if (pathExists(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<URL> Bundle::urlForResource(std::string_view name, std::string_view extension,
                                          std::string_view subdirectory) const {
    const auto path = pathForResource(name, extension, subdirectory);
    if (!path) return std::nullopt;
    return URL::fileURLWithPath(*path);
}

std::optional<Bundle::ImageResource> Bundle::imageResourcePath(std::string_view name) const {
    // Callers may name the file rather than the image.
    if (name.ends_with(".png")) name.remove_suffix(4);
    if (name.empty()) return std::nullopt;
    if (auto path = pathForResource(std::string(name) + "@2x", "png"))
        return ImageResource{std::move(*path), 2};
    if (auto path = pathForResource(name, "png")) return ImageResource{std::move(*path), 1};
    return std::nullopt;
}

std::string Bundle::localizedString(std::string_view key, std::string_view value,
                                    std::string_view table) const {
    const std::string_view tableName = table.empty() ? std::string_view("Localizable") : table;
    for (const std::string& language : preferredLanguages())
        if (const std::string* text = tables_->find(language, tableName, key)) return *text;
    return std::string(value.empty() ? key : value);
}

} // namespace foundation
