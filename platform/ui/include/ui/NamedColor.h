#pragma once

#include "ui/Color.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace foundation {
class Bundle;
}

namespace ui {

// A bundle's colour table: Resources/Colors.plist, a dictionary from colour name to
//
//     colorSpace   text, a colour space name (kCGColorSpaceSRGB when left out)
//     light        array of numbers: the space's components, then alpha
//     dark         the same for the dark scheme; the light value when left out
//
// for example TrafficLightYellowColor = {light = (0.98, 0.76, 0.18, 1)}. A table that is
// missing reads as empty; one that does not parse, and entries that are not as above, are
// logged once and left out. Loaded once per bundle; safe on any thread.
class NamedColorTable {
public:
    struct Entry {
        Color::Resolved light;
        Color::Resolved dark;
    };

    static constexpr std::string_view fileName = "Colors.plist";

    static std::shared_ptr<const NamedColorTable> forBundle(const foundation::Bundle& bundle);

    // Nothing when the table has no valid colour of that name; the first miss of each name is
    // logged, naming the table.
    const Entry* find(std::string_view name) const;
    const std::filesystem::path& path() const { return path_; }

private:
    explicit NamedColorTable(std::filesystem::path path);

    std::filesystem::path path_;
    std::map<std::string, Entry, std::less<>> entries_;
    mutable std::mutex mutex_;
    mutable std::set<std::string, std::less<>> reportedMisses_;
};

} // namespace ui
