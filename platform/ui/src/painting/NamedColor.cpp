#include "ui/NamedColor.h"

#include "ui/StyleContext.h"

#include <foundation/Bundle.h>
#include <foundation/Logger.h>
#include <foundation/PropertyList.h>
#include <foundation/PropertyListSerialization.h>
#include <graphics/CGColor.h>
#include <graphics/CGColorSpace.h>

#include <fmt/format.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

namespace ui {

namespace {

using foundation::PropertyList;

const foundation::Logger& logger() {
    static const foundation::Logger log("ui", "Color");
    return log;
}

// A colour table is a small file of our own; anything larger is damage.
constexpr std::uintmax_t maximumTableSize = 4 * 1024 * 1024;

// Absent when there is no file; throws PropertyListError when it cannot be read or parsed.
PropertyList readTable(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return {};
    if (ec) throw foundation::PropertyListError(fmt::format("it cannot be read: {}", ec.message()));
    if (!std::filesystem::is_regular_file(status))
        throw foundation::PropertyListError("it is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw foundation::PropertyListError("it cannot be opened");
    std::vector<std::uint8_t> bytes;
    char chunk[64 * 1024];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > maximumTableSize)
            throw foundation::PropertyListError(fmt::format("it is larger than {} bytes", maximumTableSize));
    }
    if (in.bad()) throw foundation::PropertyListError("it cannot be read");
    return foundation::PropertyListSerialization::propertyList(bytes);
}

// The components of one scheme, or why they are unusable.
std::optional<Color::Resolved> componentsOf(const PropertyList& value, const graphics::CGColorSpace& space,
                                            std::string& problem) {
    const auto* array = value.array();
    if (!array) {
        problem = "its components are not an array";
        return std::nullopt;
    }
    std::vector<graphics::CGFloat> components;
    for (const auto& element : *array) {
        const auto kind = element.kind();
        const bool numeric = kind == PropertyList::Kind::integer ||
                             kind == PropertyList::Kind::unsignedInteger || kind == PropertyList::Kind::real;
        const auto number = numeric ? element.number<double>() : std::nullopt;
        if (!number) {
            problem = "a component is not a number";
            return std::nullopt;
        }
        components.push_back(*number);
    }
    const auto color = graphics::CGColor::create(space, components);
    if (!color) {
        problem =
            fmt::format("{} takes {} finite components and alpha", space.name(), space.numberOfComponents());
        return std::nullopt;
    }
    return Color(*color).resolve({});
}

} // namespace

NamedColorTable::NamedColorTable(std::filesystem::path path)
    : path_(std::move(path)) {
    PropertyList contents;
    try {
        contents = readTable(path_);
    } catch (const foundation::PropertyListError& error) {
        logger().error("colour table {} is ignored: {}", path_.string(), error.what());
        return;
    }
    if (contents.isAbsent()) return;
    const auto* dictionary = contents.dictionary();
    if (!dictionary) {
        logger().error("colour table {} is ignored: it holds no dictionary", path_.string());
        return;
    }
    for (const auto& [name, value] : *dictionary) {
        std::string problem;
        std::optional<Entry> entry;
        if (!value.dictionary()) {
            problem = "it is not a dictionary";
        } else {
            const auto& spaceValue = value["colorSpace"];
            std::optional<graphics::CGColorSpace> space;
            if (spaceValue.isAbsent()) {
                space = graphics::CGColorSpace::withName(graphics::kCGColorSpaceSRGB);
            } else if (const auto* spaceName = spaceValue.string()) {
                space = graphics::CGColorSpace::withName(*spaceName);
                if (!space) problem = fmt::format("there is no colour space named '{}'", *spaceName);
            } else {
                problem = "its colorSpace is not text";
            }
            if (space) {
                const auto light = componentsOf(value["light"], *space, problem);
                if (light) {
                    const auto& darkValue = value["dark"];
                    const auto dark = darkValue.isAbsent() ? light : componentsOf(darkValue, *space, problem);
                    if (dark) entry = Entry{*light, *dark};
                }
            }
        }
        if (entry) {
            entries_.emplace(name, *entry);
        } else {
            logger().error("colour table {}: the colour '{}' is left out: {}", path_.string(), name, problem);
        }
    }
}

std::shared_ptr<const NamedColorTable> NamedColorTable::forBundle(const foundation::Bundle& bundle) {
    static std::mutex mutex;
    static std::map<std::filesystem::path, std::shared_ptr<const NamedColorTable>> tables;
    auto path = bundle.resourcePath() / fileName;
    // Loading under the lock keeps each table to one read and one set of log lines.
    std::lock_guard lock(mutex);
    auto& table = tables[path];
    if (!table) table = std::shared_ptr<const NamedColorTable>(new NamedColorTable(std::move(path)));
    return table;
}

const NamedColorTable::Entry* NamedColorTable::find(std::string_view name) const {
    const auto found = entries_.find(name);
    if (found != entries_.end()) return &found->second;
    std::lock_guard lock(mutex_);
    if (reportedMisses_.emplace(name).second)
        logger().error("No colour named '{}' in the colour table {}; it draws as clear", name,
                       path_.string());
    return nullptr;
}

} // namespace ui
