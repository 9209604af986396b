#include "ViewKit/MimeType.h"

#include <array>

namespace ViewKit {

namespace {

template <class Case> struct CaseEntry {
    Case type;
    std::string_view name;
    std::string_view subtype;
};

// Transcribed case by case, in declaration order; shared-mime-info and Qt's database name some
// of these types differently.
constexpr CaseEntry<MimeType::Application> applicationCases[] = {
    {MimeType::Application::ai, "ai", "postscript"},
    {MimeType::Application::atom, "atom", "atom+xml"},
    {MimeType::Application::bin, "bin", "octet-stream"},
    {MimeType::Application::crt, "crt", "x-x509-ca-cert"},
    {MimeType::Application::cco, "cco", "x-cocoa"},
    {MimeType::Application::deb, "deb", "octet-stream"},
    {MimeType::Application::der, "der", "x-x509-ca-cert"},
    {MimeType::Application::dll, "dll", "octet-stream"},
    {MimeType::Application::dmg, "dmg", "octet-stream"},
    {MimeType::Application::doc, "doc", "msword"},
    {MimeType::Application::docx, "docx", "vnd.openxmlformats-officedocument.wordprocessingml.document"},
    {MimeType::Application::ear, "ear", "java-archive"},
    {MimeType::Application::eot, "eot", "vnd.ms-fontobject"},
    {MimeType::Application::eps, "eps", "postscript"},
    {MimeType::Application::exe, "exe", "octet-stream"},
    {MimeType::Application::hqx, "hqx", "mac-binhex40"},
    {MimeType::Application::img, "img", "octet-stream"},
    {MimeType::Application::iso, "iso", "octet-stream"},
    {MimeType::Application::jar, "jar", "java-archive"},
    {MimeType::Application::jardiff, "jardiff", "x-java-archive-diff"},
    {MimeType::Application::jnlp, "jnlp", "x-java-jnlp-file"},
    {MimeType::Application::js, "js", "javascript"},
    {MimeType::Application::json, "json", "json"},
    {MimeType::Application::kml, "kml", "vnd.google-earth.kml+xml"},
    {MimeType::Application::kmz, "kmz", "vnd.google-earth.kmz"},
    {MimeType::Application::m3u8, "m3u8", "vnd.apple.mpegurl"},
    {MimeType::Application::msi, "msi", "octet-stream"},
    {MimeType::Application::msm, "msm", "octet-stream"},
    {MimeType::Application::msp, "msp", "octet-stream"},
    {MimeType::Application::pdb, "pdb", "x-pilot"},
    {MimeType::Application::pdf, "pdf", "pdf"},
    {MimeType::Application::pem, "pem", "x-x509-ca-cert"},
    {MimeType::Application::pl, "pl", "x-perl"},
    {MimeType::Application::pm, "pm", "x-perl"},
    {MimeType::Application::ppt, "ppt", "vnd.ms-powerpoint"},
    {MimeType::Application::pptx, "pptx", "vnd.openxmlformats-officedocument.presentationml.presentation"},
    {MimeType::Application::prc, "prc", "x-pilot"},
    {MimeType::Application::ps, "ps", "postscript"},
    {MimeType::Application::rar, "rar", "x-rar-compressed"},
    {MimeType::Application::rpm, "rpm", "x-redhat-package-manager"},
    {MimeType::Application::rss, "rss", "rss+xml"},
    {MimeType::Application::rtf, "rtf", "rtf"},
    {MimeType::Application::run, "run", "x-makeself"},
    {MimeType::Application::sea, "sea", "x-sea"},
    {MimeType::Application::sit, "sit", "x-stuffit"},
    {MimeType::Application::swf, "swf", "x-shockwave-flash"},
    {MimeType::Application::war, "war", "java-archive"},
    {MimeType::Application::tcl, "tcl", "x-tcl"},
    {MimeType::Application::wmlc, "wmlc", "vnd.wap.wmlc"},
    {MimeType::Application::woff, "woff", "font-woff"},
    {MimeType::Application::x7z, "x7z", "x-7z-compressed"},
    {MimeType::Application::xhtml, "xhtml", "xhtml+xml"},
    {MimeType::Application::xls, "xls", "vnd.ms-excel"},
    {MimeType::Application::xlsx, "xlsx", "vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
    {MimeType::Application::xpi, "xpi", "x-xpinstall"},
    {MimeType::Application::xspf, "xspf", "xspf+xml"},
    {MimeType::Application::zip, "zip", "zip"},
};
constexpr CaseEntry<MimeType::Audio> audioCases[] = {
    {MimeType::Audio::kar, "kar", "midi"},   {MimeType::Audio::m4a, "m4a", "x-m4a"},
    {MimeType::Audio::midi, "midi", "midi"}, {MimeType::Audio::mp3, "mp3", "mpeg"},
    {MimeType::Audio::ogg, "ogg", "ogg"},    {MimeType::Audio::ra, "ra", "x-realaudio"},
};
constexpr CaseEntry<MimeType::Image> imageCases[] = {
    {MimeType::Image::bmp, "bmp", "x-ms-bmp"},       {MimeType::Image::gif, "gif", "gif"},
    {MimeType::Image::ico, "ico", "x-icon"},         {MimeType::Image::jpeg, "jpeg", "jpeg"},
    {MimeType::Image::jng, "jng", "x-jng"},          {MimeType::Image::png, "png", "png"},
    {MimeType::Image::svg, "svg", "svg+xml"},        {MimeType::Image::tiff, "tiff", "tiff"},
    {MimeType::Image::wbmp, "wbmp", "vnd.wap.wbmp"}, {MimeType::Image::webp, "webp", "webp"},
};
constexpr CaseEntry<MimeType::Text> textCases[] = {
    {MimeType::Text::plain, "plain", "plain"},
    {MimeType::Text::css, "css", "css"},
    {MimeType::Text::htc, "htc", "x-component"},
    {MimeType::Text::html, "html", "html"},
    {MimeType::Text::jad, "jad", "vnd.sun.j2me.app-descriptor"},
    {MimeType::Text::mathml, "mathml", "mathml"},
    {MimeType::Text::xml, "xml", "xml"},
    {MimeType::Text::wml, "wml", "vnd.wap.wml"},
};
constexpr CaseEntry<MimeType::Video> videoCases[] = {
    {MimeType::Video::asf, "asf", "x-ms-asf"},
    {MimeType::Video::asx, "asx", "x-ms-asf"},
    {MimeType::Video::avi, "avi", "x-msvideo"},
    {MimeType::Video::flv, "flv", "x-flv"},
    {MimeType::Video::m4v, "m4v", "x-m4v"},
    {MimeType::Video::mng, "mng", "x-mng"},
    {MimeType::Video::mp4, "mp4", "mp4"},
    {MimeType::Video::mpeg, "mpeg", "mpeg"},
    {MimeType::Video::mov, "mov", "quicktime"},
    {MimeType::Video::ts, "ts", "mp2t"},
    {MimeType::Video::video3gpp, "video3gpp", "3gpp"},
    {MimeType::Video::webm, "webm", "webm"},
    {MimeType::Video::wmv, "wmv", "x-ms-wmv"},
};

template <class Case> struct Table;
template <> struct Table<MimeType::Application> {
    static constexpr std::span<const CaseEntry<MimeType::Application>> entries{applicationCases};
    static constexpr std::string_view prefix = "application/";
};
template <> struct Table<MimeType::Audio> {
    static constexpr std::span<const CaseEntry<MimeType::Audio>> entries{audioCases};
    static constexpr std::string_view prefix = "audio/";
};
template <> struct Table<MimeType::Image> {
    static constexpr std::span<const CaseEntry<MimeType::Image>> entries{imageCases};
    static constexpr std::string_view prefix = "image/";
};
template <> struct Table<MimeType::Text> {
    static constexpr std::span<const CaseEntry<MimeType::Text>> entries{textCases};
    static constexpr std::string_view prefix = "text/";
};
template <> struct Table<MimeType::Video> {
    static constexpr std::span<const CaseEntry<MimeType::Video>> entries{videoCases};
    static constexpr std::string_view prefix = "video/";
};

// The enumerators run 0, 1, 2 … in table order, so a case's value is its row.
template <class Case> constexpr bool rowsFollowCases() {
    for (std::size_t i = 0; i < Table<Case>::entries.size(); ++i)
        if (Table<Case>::entries[i].type != Case(i)) return false;
    return true;
}
static_assert(rowsFollowCases<MimeType::Application>() && rowsFollowCases<MimeType::Audio>() &&
              rowsFollowCases<MimeType::Image>() && rowsFollowCases<MimeType::Text>() &&
              rowsFollowCases<MimeType::Video>());

template <class Case> const CaseEntry<Case>& entry(Case type) {
    return Table<Case>::entries[std::size_t(type)];
}

template <class Case> std::span<const Case> casesOf() {
    static const auto cases = [] {
        std::array<Case, Table<Case>::entries.size()> result{};
        for (std::size_t i = 0; i < result.size(); ++i)
            result[i] = Table<Case>::entries[i].type;
        return result;
    }();
    return cases;
}

} // namespace

template <> std::span<const MimeType::Application> MimeType::allCases<MimeType::Application>() {
    return casesOf<Application>();
}
template <> std::span<const MimeType::Audio> MimeType::allCases<MimeType::Audio>() {
    return casesOf<Audio>();
}
template <> std::span<const MimeType::Image> MimeType::allCases<MimeType::Image>() {
    return casesOf<Image>();
}
template <> std::span<const MimeType::Text> MimeType::allCases<MimeType::Text>() {
    return casesOf<Text>();
}
template <> std::span<const MimeType::Video> MimeType::allCases<MimeType::Video>() {
    return casesOf<Video>();
}

std::string MimeType::id() const {
    return std::visit(
        [](auto type) {
            std::string text(Table<decltype(type)>::prefix);
            text += entry(type).subtype;
            return text;
        },
        value_);
}

std::string_view id(MimeType::Application type) {
    return entry(type).subtype;
}
std::string_view id(MimeType::Audio type) {
    return entry(type).subtype;
}
std::string_view id(MimeType::Image type) {
    return entry(type).subtype;
}
std::string_view id(MimeType::Text type) {
    return entry(type).subtype;
}
std::string_view id(MimeType::Video type) {
    return entry(type).subtype;
}

namespace detail {
std::string_view caseName(MimeType::Audio type) {
    return entry(type).name;
}
std::string_view caseName(MimeType::Image type) {
    return entry(type).name;
}
std::string_view caseName(MimeType::Text type) {
    return entry(type).name;
}
std::string_view caseName(MimeType::Video type) {
    return entry(type).name;
}
} // namespace detail

} // namespace ViewKit
