#include "DownloadFileName.h"

#include <QByteArray>
#include <QUrl>

#include <algorithm>

namespace updater {

namespace {

constexpr std::size_t longestFileName = 255;

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > longestFileName || name.front() == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || byte < 0x20 || byte == 0x7f;
    });
}

} // namespace

std::string downloadFileName(const foundation::URL& url, const Version& version) {
    // The segment is cut from the encoded path, so an encoded "/" ("..%2Fx") stays inside it.
    const QByteArray path =
        QUrl(QString::fromStdString(url.absoluteString())).path(QUrl::FullyEncoded).toUtf8();
    const QByteArray segment = path.mid(path.lastIndexOf('/') + 1);
    const std::string name = QByteArray::fromPercentEncoding(segment).toStdString();
    if (isPlainFileName(name)) return name;
    return "update-" + version.text();
}

} // namespace updater
