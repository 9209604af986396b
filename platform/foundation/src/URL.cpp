#include "foundation/URL.h"

#include <QDir>
#include <QString>
#include <QUrl>

#include <string_view>

namespace foundation {

namespace {

QUrl qurl(const std::string& text) {
    return QUrl(QString::fromStdString(text), QUrl::StrictMode);
}

// File URLs without a host, query or fragment are handled as bytes, so a name that is not UTF-8
// keeps its bytes (through text, each would become U+FFFD). The escapes are the ones QUrl writes.
constexpr std::string_view filePrefix = "file://";

bool isPlainFileURL(std::string_view text) {
    return text.starts_with("file:///") && text.find_first_of("?#") == std::string_view::npos;
}

bool keptInPath(unsigned char c) {
    if (c >= 0x80 || c <= 0x20 || c == 0x7F) return false;
    return std::string_view("\"#%<>?\\^`{|}").find(char(c)) == std::string_view::npos;
}

std::string encodedPath(std::string_view path) {
    constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char byte : path) {
        const auto c = static_cast<unsigned char>(byte);
        if (keptInPath(c)) {
            out += byte;
            continue;
        }
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string decodedPath(std::string_view encoded) {
    std::string out;
    out.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && hexValue(encoded[i + 1]) >= 0 &&
            hexValue(encoded[i + 2]) >= 0) {
            out += char(hexValue(encoded[i + 1]) * 16 + hexValue(encoded[i + 2]));
            i += 2;
            continue;
        }
        out += encoded[i];
    }
    return out;
}

} // namespace

std::optional<URL> URL::fromString(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const QUrl url(QString::fromUtf8(text.data(), qsizetype(text.size())), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.scheme().isEmpty()) return std::nullopt;
    return URL(url.toString(QUrl::FullyEncoded).toStdString());
}

URL URL::fileURLWithPath(const std::filesystem::path& path, bool isDirectory) {
    std::filesystem::path absolute = path.is_absolute() ? path : std::filesystem::absolute(path);
    if (std::string bytes = absolute.lexically_normal().string(); !bytes.starts_with("//")) {
        if (isDirectory && !bytes.ends_with('/')) bytes += '/';
        if (!isDirectory && bytes.size() > 1 && bytes.ends_with('/')) bytes.pop_back();
        return URL(std::string(filePrefix) + encodedPath(bytes));
    }
    QString text = QString::fromStdString(absolute.lexically_normal().string());
    if (isDirectory && !text.endsWith('/')) text += '/';
    if (!isDirectory && text.size() > 1 && text.endsWith('/')) text.chop(1);
    return URL(QUrl::fromLocalFile(text).toString(QUrl::FullyEncoded).toStdString());
}

std::string URL::scheme() const {
    return qurl(text_).scheme().toStdString();
}

std::optional<std::string> URL::host() const {
    const QString host = qurl(text_).host(QUrl::FullyDecoded);
    if (host.isEmpty()) return std::nullopt;
    return host.toStdString();
}

bool URL::isFileURL() const {
    return qurl(text_).isLocalFile();
}

std::string URL::path() const {
    if (isPlainFileURL(text_)) {
        std::string p = decodedPath(std::string_view(text_).substr(filePrefix.size()));
        if (p.size() > 1 && p.ends_with('/')) p.pop_back();
        return p;
    }
    QString p = qurl(text_).path(QUrl::FullyDecoded);
    if (p.size() > 1 && p.endsWith('/')) p.chop(1);
    return p.toStdString();
}

bool URL::hasDirectoryPath() const {
    return qurl(text_).path().endsWith('/');
}

std::string URL::lastPathComponent() const {
    const std::string p = path();
    if (p == "/") return p;
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string URL::pathExtension() const {
    const std::string last = lastPathComponent();
    const auto dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    return last.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component, bool isDirectory) const {
    if (isPlainFileURL(text_)) {
        std::string text = text_;
        if (!text.ends_with('/')) text += '/';
        text += encodedPath(component);
        if (isDirectory && !text.ends_with('/')) text += '/';
        return URL(std::move(text));
    }
    QUrl url = qurl(text_);
    QString p = url.path(QUrl::FullyDecoded);
    if (!p.endsWith('/')) p += '/';
    p += QString::fromUtf8(component.data(), qsizetype(component.size()));
    if (isDirectory && !p.endsWith('/')) p += '/';
    url.setPath(p, QUrl::DecodedMode);
    return URL(url.toString(QUrl::FullyEncoded).toStdString());
}

URL URL::deletingLastPathComponent() const {
    if (isPlainFileURL(text_)) {
        std::string p = text_.substr(filePrefix.size());
        if (p.size() > 1 && p.ends_with('/')) p.pop_back();
        const auto slash = p.rfind('/');
        p = slash == 0 || slash == std::string::npos ? std::string("/") : p.substr(0, slash + 1);
        return URL(std::string(filePrefix) + p);
    }
    QUrl url = qurl(text_);
    QString p = url.path(QUrl::FullyDecoded);
    if (p.size() > 1 && p.endsWith('/')) p.chop(1);
    const auto slash = p.lastIndexOf('/');
    p = slash <= 0 ? QStringLiteral("/") : p.left(slash + 1);
    url.setPath(p, QUrl::DecodedMode);
    return URL(url.toString(QUrl::FullyEncoded).toStdString());
}

} // namespace foundation
