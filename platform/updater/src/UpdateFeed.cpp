#include "updater/UpdateFeed.h"

#include <QDateTime>
#include <QXmlStreamReader>

#include <fmt/format.h>

namespace updater {

namespace {

using Reader = QXmlStreamReader;

bool isPlain(const Reader& reader, QLatin1StringView name) {
    return reader.namespaceUri().isEmpty() && reader.name() == name;
}

std::string text(Reader& reader) {
    return reader.readElementText(Reader::IncludeChildElements).toStdString();
}

std::optional<foundation::Date> rfc2822Date(const std::string& text) {
    const QDateTime date = QDateTime::fromString(QString::fromStdString(text).trimmed(), Qt::RFC2822Date);
    if (!date.isValid()) return std::nullopt;
    return foundation::Date::fromTimeIntervalSince1970(double(date.toMSecsSinceEpoch()) / 1000.0);
}

std::optional<std::uint64_t> byteCount(QStringView text) {
    bool ok = false;
    const qulonglong value = text.trimmed().toULongLong(&ok, 10);
    return ok ? std::optional<std::uint64_t>(value) : std::nullopt;
}

std::optional<FeedEnclosure> enclosure(const Reader& reader) {
    const auto attributes = reader.attributes();
    auto url = foundation::URL::fromString(
        attributes.value(QLatin1StringView("url")).trimmed().toString().toStdString());
    if (!url) return std::nullopt;
    return FeedEnclosure{*url, byteCount(attributes.value(QLatin1StringView("length"))),
                         attributes.value(QLatin1StringView("type")).toString().toStdString()};
}

// Reads one <item>, the reader on its start; nullopt when it names no usable version.
std::optional<FeedItem> item(Reader& reader) {
    std::optional<Version> version;
    FeedItem read{*Version::parse("0")};
    while (reader.readNextStartElement()) {
        if (isPlain(reader, QLatin1StringView("version"))) {
            version = Version::parse(text(reader));
        } else if (isPlain(reader, QLatin1StringView("title"))) {
            read.title = text(reader);
        } else if (isPlain(reader, QLatin1StringView("pubDate"))) {
            read.publicationDate = rfc2822Date(text(reader));
        } else if (isPlain(reader, QLatin1StringView("description"))) {
            read.notes = text(reader);
        } else if (isPlain(reader, QLatin1StringView("link"))) {
            read.link = QString::fromStdString(text(reader)).trimmed().toStdString();
        } else if (isPlain(reader, QLatin1StringView("enclosure"))) {
            read.enclosure = enclosure(reader);
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!version) return std::nullopt;
    read.version = std::move(*version);
    return read;
}

} // namespace

UpdateFeed UpdateFeed::parse(std::string_view xml) {
    Reader reader(QByteArray(xml.data(), qsizetype(xml.size())));
    UpdateFeed feed;
    bool channel = false;
    if (reader.readNextStartElement() && isPlain(reader, QLatin1StringView("rss"))) {
        while (reader.readNextStartElement()) {
            if (!isPlain(reader, QLatin1StringView("channel"))) {
                reader.skipCurrentElement();
                continue;
            }
            channel = true;
            while (reader.readNextStartElement()) {
                if (!isPlain(reader, QLatin1StringView("item"))) {
                    reader.skipCurrentElement();
                    continue;
                }
                if (auto read = item(reader)) feed.items.push_back(std::move(*read));
            }
        }
    }
    // Read to the end, so that a fault after the channel is found too.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        throw FeedError(fmt::format("The feed is not well-formed XML: {} (line {}, column {}).",
                                    reader.errorString().toStdString(), reader.lineNumber(),
                                    reader.columnNumber()));
    if (!channel) throw FeedError("The feed is not an RSS feed: it has no <rss> element with a <channel>.");
    return feed;
}

const FeedItem* UpdateFeed::newestItem() const {
    const FeedItem* newest = nullptr;
    for (const auto& candidate : items)
        if (!newest || candidate.version > newest->version) newest = &candidate;
    return newest;
}

} // namespace updater
