#pragma once

#include "foundation/PropertyList.h"
#include "foundation/PropertyListSerialization.h"

#include <filesystem>
#include <fstream>
#include <string_view>

// Files the toolkit's tests lay out in temporary folders.
namespace viewkit_testing {

inline std::filesystem::path writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return file;
}

// A bundle folder with an Info.plist holding `info`.
inline std::filesystem::path writeBundle(const std::filesystem::path& folder,
                                         const foundation::PropertyList::Dictionary& info) {
    const auto data = foundation::PropertyListSerialization::data(info, foundation::PropertyListFormat::xml);
    writeFile(folder / "Info.plist",
              std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    return folder;
}

} // namespace viewkit_testing
