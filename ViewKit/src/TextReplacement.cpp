#include "ViewKit/TextReplacement.h"

#include <vector>

namespace ViewKit {

namespace {

std::vector<std::string> pieces(const std::string& string, const std::string& target) {
    if (target.empty()) return {string};
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t at; (at = string.find(target, start)) != std::string::npos; start = at + target.size())
        out.push_back(string.substr(start, at - start));
    out.push_back(string.substr(start));
    return out;
}

} // namespace

TextReplacement::TextReplacement(const std::string& string, const std::string& target,
                                 const std::function<ui::Text(const std::string&)>& builder) {
    const auto parts = pieces(string, target);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        content_ += ui::Text::verbatim(parts[i]);
        ui::Text replacement = builder(target);
        if (i + 1 < parts.size()) content_ += replacement;
    }
}

} // namespace ViewKit
