// The LIKE matching on any bytes: the pattern runs up to the first NUL, the name follows it.
// It never crashes, never takes more than the product of the lengths, and agrees with a plain
// table of every pattern prefix against every name prefix.
#include "foundation/LikePattern.h"
#include "foundation/UTF8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t start = offset;
        foundation::decodeUTF8(text, offset);
        out.push_back(text.substr(start, offset - start));
    }
    return out;
}

bool byTable(std::string_view text, std::string_view pattern) {
    const auto t = characters(text);
    const auto p = characters(pattern);
    // matches[i][j]: the first i pattern characters match the first j text characters.
    std::vector<std::vector<bool>> matches(p.size() + 1, std::vector<bool>(t.size() + 1, false));
    matches[0][0] = true;
    for (std::size_t i = 1; i <= p.size(); ++i) {
        for (std::size_t j = 0; j <= t.size(); ++j) {
            if (p[i - 1] == "*")
                matches[i][j] = matches[i - 1][j] || (j > 0 && matches[i][j - 1]);
            else if (j > 0)
                matches[i][j] = matches[i - 1][j - 1] && (p[i - 1] == "?" || p[i - 1] == t[j - 1]);
        }
    }
    return matches[p.size()][t.size()];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view pattern = input.substr(0, split);
    const std::string_view name = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const bool matched = foundation::matchesLike(name, pattern);
    if (pattern.size() * name.size() <= 1 << 20 && matched != byTable(name, pattern)) std::abort();
    if (!foundation::matchesLike(name, "*")) std::abort();
    return 0;
}
