#pragma once

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/URL.h"

#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ViewKit {

// Turns delimiter-separated text into rows of fields by a simple rule: lines at every line
// break, fields at one separator character. There is no quoting and no escaping — quotation
// marks belong to the field and a separator between them still splits — and no header handling.
// Meant for word lists and small tables shipped with a program.
//
// The rule, for a separator that is exactly one character (grapheme cluster):
// - every code point of CharacterSet::newlines() ends a line (CR LF leaves an empty line between);
// - each line is trimmed of CharacterSet::whitespaces(), and lines left empty are dropped;
// - a line splits at every character canonically equivalent to the separator ("e" with a
//   combining accent matches "é"; a comma followed by a combining accent is no comma), and
//   empty pieces are left out: adjacent separators, or one at either end, make no field;
// - each piece is trimmed the same way, and one left empty is still a field.
// Rows may differ in length. Holds no mutable state: one parser may be used on several threads.
class CsvParser {
public:
    using Rows = std::vector<std::vector<std::string>>;

    // The parser's own error: the named resource is not in the bundle.
    class CsvError : public std::exception {
    public:
        enum class Kind { noFileWithName };

        static CsvError noFileWithName(std::string name, std::string extension,
                                       std::shared_ptr<foundation::Bundle> bundle);

        Kind kind() const { return kind_; }
        const std::string& name() const { return name_; }
        const std::string& extension() const { return extension_; }
        const std::shared_ptr<foundation::Bundle>& bundle() const { return bundle_; }
        // Names the case only; the payload is in the accessors.
        const char* what() const noexcept override;

    private:
        CsvError(Kind kind, std::string name, std::string extension,
                 std::shared_ptr<foundation::Bundle> bundle);

        Kind kind_;
        std::string name_;
        std::string extension_;
        std::shared_ptr<foundation::Bundle> bundle_;
    };

    explicit CsvParser(
        std::shared_ptr<foundation::FileManager> fileManager = foundation::FileManager::defaultManager());
    virtual ~CsvParser();

    // Kept for the parser's owner; parsing does not use it.
    const std::shared_ptr<foundation::FileManager>& fileManager() const { return fileManager_; }

    // Every operation throws std::invalid_argument for a separator that is not exactly one
    // character of UTF-8 text.
    //
    // The resource `name`.`extension` of `bundle`: CsvError when the bundle has no such
    // resource, foundation::FileError when it cannot be read as UTF-8 text.
    virtual Rows parseCsvFile(std::string_view name, std::string_view extension,
                              const std::shared_ptr<foundation::Bundle>& bundle,
                              std::string_view separator) const;
    // A file URL; foundation::FileError when it cannot be read as UTF-8 text or is no file URL.
    virtual Rows parseCsvFile(const foundation::URL& url, std::string_view separator) const;
    // std::invalid_argument for text that is not UTF-8.
    virtual Rows parseCsvString(std::string_view text, std::string_view separator) const;

private:
    std::shared_ptr<foundation::FileManager> fileManager_;
};

} // namespace ViewKit
