#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace foundation {

// An absolute URL, kept as its absolute text. File URLs come from paths; other URLs from text
// that parses as an absolute URL with a scheme.
class URL {
public:
    // Text that is no absolute URL (no scheme, spaces, bad percent escapes) gives nullopt.
    static std::optional<URL> fromString(std::string_view text);
    // A relative path is made absolute against the current folder. `isDirectory` adds the
    // trailing slash.
    static URL fileURLWithPath(const std::filesystem::path& path, bool isDirectory = false);

    const std::string& absoluteString() const { return text_; }
    std::string scheme() const;
    // The decoded host name; none for a URL without one (file:///a, mailto:x).
    std::optional<std::string> host() const;
    bool isFileURL() const;
    // The decoded path ("/a b/c" for file:///a%20b/c); without the trailing slash of a folder.
    std::string path() const;
    std::string lastPathComponent() const;
    std::string pathExtension() const;
    URL appendingPathComponent(std::string_view component, bool isDirectory = false) const;
    URL deletingLastPathComponent() const;
    bool hasDirectoryPath() const;

    bool operator==(const URL&) const = default;
    auto operator<=>(const URL&) const = default;

private:
    explicit URL(std::string text)
        : text_(std::move(text)) {}
    std::string text_;
};

} // namespace foundation

template <> struct std::hash<foundation::URL> {
    std::size_t operator()(const foundation::URL& url) const noexcept {
        return std::hash<std::string>{}(url.absoluteString());
    }
};
