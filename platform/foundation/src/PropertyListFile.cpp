#include "PropertyListFile.h"

#include "foundation/PropertyListSerialization.h"

#include <fmt/format.h>

#include <fstream>
#include <system_error>

namespace foundation {

PropertyList readPropertyListFile(const std::filesystem::path& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return {};
    if (ec) throw PropertyListError(fmt::format("the file cannot be read: {}", ec.message()));
    if (!std::filesystem::is_regular_file(status)) throw PropertyListError("it is not a regular file");

    std::ifstream in(path, std::ios::binary);
    if (!in) throw PropertyListError("the file cannot be opened");
    Data bytes;
    char chunk[64 * 1024];
    // Read past the limit by at most one chunk, so a file that grows while it is read is still refused.
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > maximumPropertyListFileSize)
            throw PropertyListError(
                fmt::format("the file is larger than {} bytes", maximumPropertyListFileSize));
    }
    if (in.bad()) throw PropertyListError("the file cannot be read");
    return PropertyListSerialization::propertyList(bytes);
}

} // namespace foundation
