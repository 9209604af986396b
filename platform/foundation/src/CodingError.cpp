#include "foundation/CodingError.h"

#include <utility>

namespace foundation {

CodingError::CodingError(std::string message, CodingPath codingPath)
    : message_(std::move(message))
    , codingPath_(std::move(codingPath)) {
    compose();
}

void CodingError::prependCodingPath(std::string component) {
    codingPath_.insert(codingPath_.begin(), std::move(component));
    compose();
}

void CodingError::compose() {
    description_ = message_;
    if (!codingPath_.empty()) description_ += " Coding path: " + codingPathDescription(codingPath_);
}

std::string codingPathDescription(const CodingPath& path) {
    std::string text;
    for (const auto& component : path) {
        if (!text.empty() && !component.starts_with('[')) text += '.';
        text += component;
    }
    return text;
}

} // namespace foundation
