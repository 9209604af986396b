#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace foundation {

// A file that could not be read (or written, listed, removed): what went wrong and with which file.
class FileError : public std::runtime_error {
public:
    enum class Kind { noSuchFile, noPermission, notRegularFile, notUTF8, other };
    enum class Action { read, write, list, remove, download };

    // `detail` adds to the description of `other` (the system's words, or what was asked).
    FileError(Kind kind, std::filesystem::path path, std::string detail = {}, Action action = Action::read);
    // The error for a failed system call's `errno`.
    static FileError fromErrno(int error, std::filesystem::path path, Action action);

    Kind kind() const { return kind_; }
    Action action() const { return action_; }
    const std::filesystem::path& path() const { return path_; }
    // A sentence for a person, naming the file; what() gives the same.
    std::string description() const { return what(); }

private:
    Kind kind_;
    Action action_;
    std::filesystem::path path_;
};

} // namespace foundation
