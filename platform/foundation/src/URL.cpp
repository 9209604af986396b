#include "foundation/URL.h"

#include <QDir>
#include <QString>
#include <QUrl>

namespace foundation {

namespace {

QUrl qurl(const std::string& text) {
    return QUrl(QString::fromStdString(text), QUrl::StrictMode);
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
    QUrl url = qurl(text_);
    QString p = url.path(QUrl::FullyDecoded);
    if (!p.endsWith('/')) p += '/';
    p += QString::fromUtf8(component.data(), qsizetype(component.size()));
    if (isDirectory && !p.endsWith('/')) p += '/';
    url.setPath(p, QUrl::DecodedMode);
    return URL(url.toString(QUrl::FullyEncoded).toStdString());
}

URL URL::deletingLastPathComponent() const {
    QUrl url = qurl(text_);
    QString p = url.path(QUrl::FullyDecoded);
    if (p.size() > 1 && p.endsWith('/')) p.chop(1);
    const auto slash = p.lastIndexOf('/');
    p = slash <= 0 ? QStringLiteral("/") : p.left(slash + 1);
    url.setPath(p, QUrl::DecodedMode);
    return URL(url.toString(QUrl::FullyEncoded).toStdString());
}

} // namespace foundation
