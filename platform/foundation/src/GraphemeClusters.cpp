#include "foundation/GraphemeClusters.h"

#include "foundation/Fatal.h"
#include "foundation/UTF8.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>

#include <climits>

namespace foundation {

namespace {

// ICU's prototype is looked up in its service cache; each iterator clones it.
std::unique_ptr<icu::BreakIterator> makeCharacterBreakIterator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> iterator(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !iterator) fatal("the character break rules of ICU are missing");
    return iterator;
}

} // namespace

struct GraphemeClusterIterator::Impl {
    std::unique_ptr<icu::BreakIterator> breaks = makeCharacterBreakIterator();
    UText text = UTEXT_INITIALIZER;
    std::string_view bytes;
    std::size_t position = 0;
    // A second iterator over the same text answers isBoundary without moving the walk.
    mutable std::unique_ptr<icu::BreakIterator> probe;

    ~Impl() { utext_close(&text); }

    void reset(std::string_view newBytes) {
        if (newBytes.size() > std::size_t(INT32_MAX)) fatal("text too long to find its characters in");
        bytes = newBytes;
        position = 0;
        UErrorCode status = U_ZERO_ERROR;
        utext_openUTF8(&text, bytes.empty() ? "" : bytes.data(), std::int64_t(bytes.size()), &status);
        breaks->setText(&text, status);
        if (probe) probe->setText(&text, status);
        if (U_FAILURE(status)) fatal("ICU could not walk the text");
    }
};

GraphemeClusterIterator::GraphemeClusterIterator(std::string_view text)
    : impl_(std::make_unique<Impl>()) {
    impl_->reset(text);
}

GraphemeClusterIterator::~GraphemeClusterIterator() = default;

void GraphemeClusterIterator::reset(std::string_view text) {
    impl_->reset(text);
}

std::optional<std::string_view> GraphemeClusterIterator::next() {
    if (impl_->position >= impl_->bytes.size()) return std::nullopt;
    const std::int32_t end = impl_->breaks->next();
    const std::size_t stop = end == icu::BreakIterator::DONE ? impl_->bytes.size() : std::size_t(end);
    const std::string_view cluster = impl_->bytes.substr(impl_->position, stop - impl_->position);
    impl_->position = stop;
    return cluster;
}

bool GraphemeClusterIterator::isBoundary(std::size_t offset) const {
    if (offset == 0 || offset == impl_->bytes.size()) return true;
    if (offset > impl_->bytes.size()) return false;
    if (!impl_->probe) {
        impl_->probe = makeCharacterBreakIterator();
        UErrorCode status = U_ZERO_ERROR;
        impl_->probe->setText(&impl_->text, status);
    }
    return impl_->probe->isBoundary(std::int32_t(offset));
}

std::vector<std::string_view> graphemeClusters(std::string_view text) {
    std::vector<std::string_view> clusters;
    GraphemeClusterIterator iterator(text);
    while (auto cluster = iterator.next())
        clusters.push_back(*cluster);
    return clusters;
}

std::size_t graphemeClusterCount(std::string_view text) {
    std::size_t count = 0;
    GraphemeClusterIterator iterator(text);
    while (iterator.next())
        ++count;
    return count;
}

bool isClusterOfItsOwn(std::string_view text, std::size_t offset) {
    const auto breakOf = [](char32_t c) {
        return u_getIntPropertyValue(UChar32(c), UCHAR_GRAPHEME_CLUSTER_BREAK);
    };
    const char32_t c = static_cast<unsigned char>(text[offset]);
    if (c >= 0x80) fatal("isClusterOfItsOwn asks about ASCII characters only");
    // Controls, CR and LF break on both sides, but for CR LF.
    const bool control = c < 0x20 || c == 0x7F;
    if (offset > 0) {
        const char32_t before = [&] {
            std::size_t at = previousUTF8Offset(text, offset);
            return decodeUTF8(text, at);
        }();
        if (control) {
            if (c == U'\n' && before == U'\r') return false;
        } else if (breakOf(before) == U_GCB_PREPEND) {
            return false;
        }
    }
    if (offset + 1 < text.size()) {
        std::size_t at = offset + 1;
        const char32_t after = decodeUTF8(text, at);
        if (control) return !(c == U'\r' && after == U'\n');
        const auto kind = breakOf(after);
        if (kind == U_GCB_EXTEND || kind == U_GCB_ZWJ || kind == U_GCB_SPACING_MARK) return false;
    }
    return true;
}

} // namespace foundation
