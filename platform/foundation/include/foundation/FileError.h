#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace foundation {

// A file that could not be read: what went wrong and with which file.
class FileError : public std::runtime_error {
public:
    enum class Kind { noSuchFile, noPermission, notRegularFile, notUTF8, other };

    // `detail` adds to the description of `other` (the system's words, or what was asked).
    FileError(Kind kind, std::filesystem::path path, std::string detail = {});

    Kind kind() const { return kind_; }
    const std::filesystem::path& path() const { return path_; }
    // A sentence for a person, naming the file; what() gives the same.
    std::string description() const { return what(); }

private:
    Kind kind_;
    std::filesystem::path path_;
};

} // namespace foundation
