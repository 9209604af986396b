#include "foundation/FileError.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>

namespace foundation {

namespace {

const char* verb(FileError::Action action) {
    switch (action) {
    case FileError::Action::read:
        return "read";
    case FileError::Action::write:
        return "written";
    case FileError::Action::list:
        return "listed";
    case FileError::Action::remove:
        return "removed";
    case FileError::Action::download:
        return "downloaded";
    }
    return "read";
}

std::string describe(FileError::Kind kind, const std::filesystem::path& path, const std::string& detail,
                     FileError::Action action) {
    const std::string name = path.string();
    const char* done = verb(action);
    switch (kind) {
    case FileError::Kind::noSuchFile:
        return fmt::format("The file “{}” could not be {}: there is no such file.", name, done);
    case FileError::Kind::noPermission:
        return fmt::format("The file “{}” could not be {}: permission denied.", name, done);
    case FileError::Kind::notRegularFile:
        return fmt::format("The file “{}” could not be {}: it is not a regular file.", name, done);
    case FileError::Kind::notUTF8:
        return fmt::format("The file “{}” could not be {}: its contents are not UTF-8 text.", name, done);
    case FileError::Kind::other:
        break;
    }
    if (detail.empty()) return fmt::format("The file “{}” could not be {}.", name, done);
    return fmt::format("The file “{}” could not be {}: {}.", name, done, detail);
}

} // namespace

FileError::FileError(Kind kind, std::filesystem::path path, std::string detail, Action action)
    : std::runtime_error(describe(kind, path, detail, action))
    , kind_(kind)
    , action_(action)
    , path_(std::move(path)) {}

FileError FileError::fromErrno(int error, std::filesystem::path path, Action action) {
    if (error == ENOENT) return FileError(Kind::noSuchFile, std::move(path), {}, action);
    if (error == EACCES || error == EPERM) return FileError(Kind::noPermission, std::move(path), {}, action);
    return FileError(Kind::other, std::move(path), std::strerror(error), action);
}

} // namespace foundation
