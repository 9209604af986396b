#include "ViewKit/CsvParser.h"

#include "CsvSplitting.h"

#include "foundation/FileError.h"
#include "foundation/TextFile.h"
#include "foundation/UTF8.h"

#include <stdexcept>

namespace ViewKit {

CsvParser::CsvError::CsvError(Kind kind, std::string name, std::string extension,
                              std::shared_ptr<foundation::Bundle> bundle)
    : kind_(kind)
    , name_(std::move(name))
    , extension_(std::move(extension))
    , bundle_(std::move(bundle)) {}

CsvParser::CsvError CsvParser::CsvError::noFileWithName(std::string name, std::string extension,
                                                        std::shared_ptr<foundation::Bundle> bundle) {
    return CsvError(Kind::noFileWithName, std::move(name), std::move(extension), std::move(bundle));
}

const char* CsvParser::CsvError::what() const noexcept {
    return "CsvError.noFileWithName";
}

CsvParser::CsvParser(std::shared_ptr<foundation::FileManager> fileManager)
    : fileManager_(std::move(fileManager)) {}

CsvParser::~CsvParser() = default;

CsvParser::Rows CsvParser::parseCsvFile(std::string_view name, std::string_view extension,
                                        const std::shared_ptr<foundation::Bundle>& bundle,
                                        std::string_view separator) const {
    const std::string composed = detail::csvSeparator(separator);
    const auto path = bundle ? bundle->pathForResource(name, extension) : std::nullopt;
    if (!path) throw CsvError::noFileWithName(std::string(name), std::string(extension), bundle);
    return detail::splitCsv(foundation::stringWithContentsOfFile(*path), composed);
}

CsvParser::Rows CsvParser::parseCsvFile(const foundation::URL& url, std::string_view separator) const {
    const std::string composed = detail::csvSeparator(separator);
    return detail::splitCsv(foundation::stringWithContentsOfURL(url), composed);
}

CsvParser::Rows CsvParser::parseCsvString(std::string_view text, std::string_view separator) const {
    const std::string composed = detail::csvSeparator(separator);
    if (!foundation::isValidUTF8(text)) throw std::invalid_argument("the CSV text is not UTF-8");
    return detail::splitCsv(text, composed);
}

} // namespace ViewKit
