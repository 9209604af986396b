#include "foundation/FileError.h"

#include <fmt/format.h>

namespace foundation {

namespace {

std::string describe(FileError::Kind kind, const std::filesystem::path& path, const std::string& detail) {
    const std::string name = path.string();
    switch (kind) {
    case FileError::Kind::noSuchFile:
        return fmt::format("The file “{}” could not be read: there is no such file.", name);
    case FileError::Kind::noPermission:
        return fmt::format("The file “{}” could not be read: permission denied.", name);
    case FileError::Kind::notRegularFile:
        return fmt::format("The file “{}” could not be read: it is not a regular file.", name);
    case FileError::Kind::notUTF8:
        return fmt::format("The file “{}” could not be read: its contents are not UTF-8 text.", name);
    case FileError::Kind::other:
        break;
    }
    if (detail.empty()) return fmt::format("The file “{}” could not be read.", name);
    return fmt::format("The file “{}” could not be read: {}.", name, detail);
}

} // namespace

FileError::FileError(Kind kind, std::filesystem::path path, std::string detail)
    : std::runtime_error(describe(kind, path, detail))
    , kind_(kind)
    , path_(std::move(path)) {}

} // namespace foundation
