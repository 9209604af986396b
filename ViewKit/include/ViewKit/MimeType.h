#pragma once

#include "foundation/RawRepresentable.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace ViewKit {

// A media type named by a typed case: a top-level kind carrying a case named after a file
// extension. id() is the full media-type text ("image/png"), ready for a content-type header or
// a file dialog. Several cases share one subtype (bin, exe and iso are all "octet-stream"), yet
// equality and hashing follow the case, never the text.
class MimeType {
public:
    enum class Application : std::uint8_t {
        ai,
        atom,
        bin,
        crt,
        cco,
        deb,
        der,
        dll,
        dmg,
        doc,
        docx,
        ear,
        eot,
        eps,
        exe,
        hqx,
        img,
        iso,
        jar,
        jardiff,
        jnlp,
        js,
        json,
        kml,
        kmz,
        m3u8,
        msi,
        msm,
        msp,
        pdb,
        pdf,
        pem,
        pl,
        pm,
        ppt,
        pptx,
        prc,
        ps,
        rar,
        rpm,
        rss,
        rtf,
        run,
        sea,
        sit,
        swf,
        war,
        tcl,
        wmlc,
        woff,
        x7z,
        xhtml,
        xls,
        xlsx,
        xpi,
        xspf,
        zip
    };
    enum class Audio : std::uint8_t { kar, m4a, midi, mp3, ogg, ra };
    enum class Image : std::uint8_t { bmp, gif, ico, jpeg, jng, png, svg, tiff, wbmp, webp };
    enum class Text : std::uint8_t { plain, css, htc, html, jad, mathml, xml, wml };
    enum class Video : std::uint8_t {
        asf,
        asx,
        avi,
        flv,
        m4v,
        mng,
        mp4,
        mpeg,
        mov,
        ts,
        video3gpp,
        webm,
        wmv
    };
    using Value = std::variant<Application, Audio, Image, Text, Video>;

    static MimeType application(Application type) { return MimeType(type); }
    static MimeType audio(Audio type) { return MimeType(type); }
    static MimeType image(Image type) { return MimeType(type); }
    static MimeType text(Text type) { return MimeType(type); }
    static MimeType video(Video type) { return MimeType(type); }
    explicit MimeType(Value value)
        : value_(value) {}

    // Every case of one of the five enumerations, in declaration order:
    // MimeType::allCases<MimeType::Text>() starts with plain and ends with wml.
    template <class Case> static std::span<const Case> allCases();

    const Value& value() const { return value_; }
    // "<kind>/<subtype>", assembled anew on every call.
    std::string id() const;

    bool operator==(const MimeType&) const = default;

private:
    Value value_;
};

template <> std::span<const MimeType::Application> MimeType::allCases<MimeType::Application>();
template <> std::span<const MimeType::Audio> MimeType::allCases<MimeType::Audio>();
template <> std::span<const MimeType::Image> MimeType::allCases<MimeType::Image>();
template <> std::span<const MimeType::Text> MimeType::allCases<MimeType::Text>();
template <> std::span<const MimeType::Video> MimeType::allCases<MimeType::Video>();

// The subtype of a case: id(MimeType::Audio::mp3) is "mpeg", id(MimeType::Video::video3gpp) "3gpp".
std::string_view id(MimeType::Application type);
std::string_view id(MimeType::Audio type);
std::string_view id(MimeType::Image type);
std::string_view id(MimeType::Text type);
std::string_view id(MimeType::Video type);

namespace detail {
// The case names, which are the raw values of the four raw-valued enumerations.
std::string_view caseName(MimeType::Audio type);
std::string_view caseName(MimeType::Image type);
std::string_view caseName(MimeType::Text type);
std::string_view caseName(MimeType::Video type);

template <class Case> std::optional<Case> caseNamed(std::string_view name) {
    for (const Case type : MimeType::allCases<Case>())
        if (caseName(type) == name) return type;
    return std::nullopt;
}

template <class Case> struct MimeCaseRawRepresentation {
    using RawValue = std::string;
    static RawValue rawValue(Case type) { return std::string(caseName(type)); }
    static std::optional<Case> fromRawValue(const RawValue& raw) { return caseNamed<Case>(raw); }
};
} // namespace detail

} // namespace ViewKit

// Audio, Image, Text and Video have their case names as raw values ("mp3", never its subtype
// "mpeg"); Application has none.
template <>
struct foundation::RawRepresentation<ViewKit::MimeType::Audio>
    : ViewKit::detail::MimeCaseRawRepresentation<ViewKit::MimeType::Audio> {};
template <>
struct foundation::RawRepresentation<ViewKit::MimeType::Image>
    : ViewKit::detail::MimeCaseRawRepresentation<ViewKit::MimeType::Image> {};
template <>
struct foundation::RawRepresentation<ViewKit::MimeType::Text>
    : ViewKit::detail::MimeCaseRawRepresentation<ViewKit::MimeType::Text> {};
template <>
struct foundation::RawRepresentation<ViewKit::MimeType::Video>
    : ViewKit::detail::MimeCaseRawRepresentation<ViewKit::MimeType::Video> {};

template <> struct std::hash<ViewKit::MimeType> {
    std::size_t operator()(const ViewKit::MimeType& type) const noexcept {
        const std::size_t index = type.value().index();
        const std::size_t position = std::visit([](auto value) { return std::size_t(value); }, type.value());
        return index << 8 | position;
    }
};
