#include "foundation/LikePattern.h"

#include "foundation/UTF8.h"

#include <vector>

namespace foundation {

namespace {

// The text cut into characters, each kept as its own bytes.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t start = offset;
        decodeUTF8(text, offset);
        out.push_back(text.substr(start, offset - start));
    }
    return out;
}

} // namespace

bool matchesLike(std::string_view text, std::string_view pattern) {
    const auto t = characters(text);
    const auto p = characters(pattern);
    // Greedy matching that, on a mismatch, retries only from the latest star: each star
    // restarts at most once per text position, so the work is bounded by |t| * |p|.
    std::size_t ti = 0, pi = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi] == "*") {
            starAt = pi++;
            resumeAt = ti;
        } else if (pi < p.size() && (p[pi] == "?" || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (starAt != std::string_view::npos) {
            pi = starAt + 1;
            ti = ++resumeAt;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == "*")
        ++pi;
    return pi == p.size();
}

} // namespace foundation
