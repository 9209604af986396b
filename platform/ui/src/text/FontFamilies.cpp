#include "ui/FontFamilies.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <mutex>

namespace ui {

namespace {

QString withoutSpaces(QString text) {
    return text.remove(u' ');
}

// fontconfig's substitutes for the generic names; they stand for other families.
bool isGenericAlias(const QString& family) {
    static const QStringList aliases = {"Sans Serif", "Serif",   "Monospace", "Sans",
                                        "Mono",       "Cursive", "Fantasy",   "System-ui"};
    return aliases.contains(family, Qt::CaseInsensitive);
}

std::string resolvedFamily(const QFont& font) {
    return QFontInfo(font).family().toStdString();
}

std::string roundedFamily(const std::string& fallback) {
    for (const auto& family : QFontDatabase::families())
        if (!isGenericAlias(family) && family.contains(u"Rounded", Qt::CaseInsensitive))
            return family.toStdString();
    return fallback;
}

} // namespace

std::vector<std::string> availableFontFamilies() {
    std::vector<std::string> families;
    for (const auto& family : QFontDatabase::families())
        if (!isGenericAlias(family) && !QFontDatabase::isPrivateFamily(family))
            families.push_back(family.toStdString());
    return families;
}

const std::string& systemFontFamily(Font::Design design) {
    static std::once_flag once;
    static std::array<std::string, 4> families;
    std::call_once(once, [] {
        const auto standard = resolvedFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
        QFont serif;
        serif.setFamilies({"serif"});
        serif.setStyleHint(QFont::Serif);
        families[int(Font::Design::defaultDesign)] = standard;
        families[int(Font::Design::serif)] = resolvedFamily(serif);
        families[int(Font::Design::rounded)] = roundedFamily(standard);
        families[int(Font::Design::monospaced)] =
            resolvedFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    });
    return families[int(design)];
}

namespace {

std::optional<FontFace> findFontFace(std::string_view name) {
    const auto wanted = QString::fromUtf8(name.data(), qsizetype(name.size())).trimmed();
    if (wanted.isEmpty()) return std::nullopt;
    const auto families = QFontDatabase::families();
    const auto compact = withoutSpaces(wanted);
    for (const auto& family : families)
        if (!isGenericAlias(family) && (family.compare(wanted, Qt::CaseInsensitive) == 0 ||
                                        withoutSpaces(family).compare(compact, Qt::CaseInsensitive) == 0))
            return FontFace{family.toStdString(), {}};
    for (const auto& family : families) {
        if (isGenericAlias(family)) continue;
        for (const auto& style : QFontDatabase::styles(family)) {
            if ((family + u' ' + style).compare(wanted, Qt::CaseInsensitive) == 0 ||
                (withoutSpaces(family) + u'-' + withoutSpaces(style)).compare(compact, Qt::CaseInsensitive) ==
                    0)
                return FontFace{family.toStdString(), style.toStdString()};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<FontFace> installedFontFace(std::string_view name) {
    // Views resolve their fonts on every layout; the database's families do not change under us.
    static std::mutex mutex;
    static std::map<std::string, std::optional<FontFace>, std::less<>> cache;
    std::lock_guard lock(mutex);
    if (auto found = cache.find(name); found != cache.end()) return found->second;
    auto face = findFontFace(name);
    cache.emplace(std::string(name), face);
    return face;
}

} // namespace ui
