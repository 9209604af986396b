#include "foundation/UnicodeNormalization.h"

#include "UTF8.h"

#include <QString>

#include <algorithm>

namespace foundation {

namespace {

bool isASCII(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

std::string precomposedStringWithCanonicalMapping(std::string_view text) {
    // ASCII is its own normal form, and by far the common case.
    if (isASCII(text) || !detail::isValidUTF8(text)) return std::string(text);
    const QString normalized =
        QString::fromUtf8(text.data(), qsizetype(text.size())).normalized(QString::NormalizationForm_C);
    const QByteArray bytes = normalized.toUtf8();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

bool isCanonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isASCII(a) && isASCII(b)) return false;
    return precomposedStringWithCanonicalMapping(a) == precomposedStringWithCanonicalMapping(b);
}

} // namespace foundation
