#pragma once

#include "foundation/PropertyList.h"
#include "foundation/URL.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class LocalizedStringTables;

// A folder of resources: `Info.plist` at its top (an XML or binary plist dictionary) and
// `Resources/` holding the resources, string tables under `Resources/<language>.lproj/`.
// Immutable once opened, except for string tables, which load on first use; safe on any thread.
//
// Bundles are cached by folder (its canonical path) for the life of the process, so opening the
// same folder twice gives the same object.
class Bundle {
public:
    // The best PNG for an image name, and the scale it was drawn at.
    struct ImageResource {
        std::filesystem::path path;
        double scale = 1;
    };

    // The running program's bundle. The rule, the same in the build tree and installed: the
    // folder `<program's folder>/../share/<program's file name>/` when it exists (installed,
    // <prefix>/bin/quoril has <prefix>/share/quoril/; the build puts programs in <build>/bin and
    // their bundles in <build>/share), otherwise the program's own folder, which usually holds
    // no Info.plist. Never null.
    static const std::shared_ptr<Bundle>& main();
    // The running program's file (without the " (deleted)" of a replaced one).
    static std::filesystem::path programPath();

    // The bundle of an existing folder; nullptr for a file, a missing path or a URL that is no
    // file URL. A folder without Info.plist is a bundle with an empty info dictionary. An
    // Info.plist that does not parse or holds no dictionary is logged and read as empty.
    static std::shared_ptr<Bundle> withURL(const URL& url);
    static std::shared_ptr<Bundle> withPath(const std::filesystem::path& path);

    // The bundle of the code at `address`: main() for the main program, otherwise the folder
    // holding the shared object (a plug-in bundle holds its library at its top). nullptr when
    // no loaded object holds the address.
    static std::shared_ptr<Bundle> forCode(const void* address);

    ~Bundle();
    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

    URL bundleURL() const;
    const std::filesystem::path& bundlePath() const { return path_; }
    // `<bundle>/Resources/`, whether or not it exists.
    URL resourceURL() const;
    std::filesystem::path resourcePath() const;

    // "CFBundleIdentifier" when it is non-empty text.
    const std::optional<std::string>& bundleIdentifier() const { return identifier_; }
    const PropertyList::Dictionary& infoDictionary() const { return info_; }
    // Absent when the key is missing.
    const PropertyList& objectForInfoDictionaryKey(std::string_view key) const;

    // `<name>.<extension>` (just `<name>` without an extension) in Resources/<subdirectory>,
    // then in <bundle>/<subdirectory>. Names that would leave the bundle (absolute, "..") find
    // nothing.
    std::optional<std::filesystem::path> pathForResource(std::string_view name, std::string_view extension,
                                                         std::string_view subdirectory = {}) const;
    std::optional<URL> urlForResource(std::string_view name, std::string_view extension,
                                      std::string_view subdirectory = {}) const;

    // `<name>@2x.png` at scale 2, else `<name>.png` at scale 1; nullopt when neither exists.
    std::optional<ImageResource> imageResourcePath(std::string_view name) const;

    // The translation of the English text `key` from `Resources/<language>.lproj/<table>.strings`
    // (default table "Localizable"), trying preferredLanguages() in order. When no table has the
    // key: `value` when it is not empty, else `key`. A table that does not parse is logged once
    // and read as empty.
    std::string localizedString(std::string_view key, std::string_view value = {},
                                std::string_view table = {}) const;

private:
    explicit Bundle(std::filesystem::path path);
    static std::shared_ptr<Bundle> open(const std::filesystem::path& canonicalPath);

    std::filesystem::path path_;
    PropertyList::Dictionary info_;
    std::optional<std::string> identifier_;
    std::unique_ptr<LocalizedStringTables> tables_;
};

} // namespace foundation
