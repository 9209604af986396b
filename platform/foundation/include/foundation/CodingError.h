#pragma once

#include <exception>
#include <string>
#include <vector>

namespace foundation {

// Where in a value an error happened: object keys, and array positions written as "[2]".
using CodingPath = std::vector<std::string>;

// A value that could not be encoded or decoded. description() is a sentence a user can read,
// followed by the coding path when there is one; what() gives the same text.
class CodingError : public std::exception {
public:
    const std::string& description() const { return description_; }
    // The sentence alone, without the coding path.
    const std::string& message() const { return message_; }
    const CodingPath& codingPath() const { return codingPath_; }
    const char* what() const noexcept override { return description_.c_str(); }

    // Called by the containers an error passes through on its way out, innermost first.
    void prependCodingPath(std::string component);

protected:
    CodingError(std::string message, CodingPath codingPath);

private:
    void compose();

    std::string message_;
    CodingPath codingPath_;
    std::string description_;
};

class EncodingError : public CodingError {
public:
    enum class Kind { invalidValue };

    EncodingError(Kind kind, std::string message, CodingPath codingPath = {})
        : CodingError(std::move(message), std::move(codingPath))
        , kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

class DecodingError : public CodingError {
public:
    enum class Kind { typeMismatch, valueNotFound, keyNotFound, dataCorrupted };

    DecodingError(Kind kind, std::string message, CodingPath codingPath = {})
        : CodingError(std::move(message), std::move(codingPath))
        , kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// "items[2].count" for {"items", "[2]", "count"}.
std::string codingPathDescription(const CodingPath& path);

} // namespace foundation
