#include "Transfer.h"

#include <QCoreApplication>
#include <QFile>

#include <fmt/format.h>

#include <filesystem>
#include <system_error>

namespace updater {

namespace {

constexpr qint64 filePieceSize = 64 * 1024;
constexpr int maximumRedirects = 10;

std::string text(const QUrl& url) {
    return url.toDisplayString().toStdString();
}

bool isHttp(const QString& scheme) {
    return scheme == QLatin1StringView("http") || scheme == QLatin1StringView("https");
}

} // namespace

std::string byteCountText(std::int64_t bytes) {
    constexpr std::int64_t mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0) return fmt::format("{} MiB", bytes / mebibyte);
    return fmt::format("{} bytes", bytes);
}

std::shared_ptr<Transfer> Transfer::start(HttpTransport* network, const foundation::URL& url,
                                          TransferLimits limits, Receive receive, Finish finish) {
    auto transfer = std::make_shared<Transfer>(url, limits, std::move(receive), std::move(finish));
    transfer->begin(network);
    return transfer;
}

Transfer::Transfer(const foundation::URL& url, TransferLimits limits, Receive receive, Finish finish)
    : url_(url)
    , limits_(limits)
    , receive_(std::move(receive))
    , finish_(std::move(finish))
    , current_(QString::fromStdString(url.absoluteString())) {}

Transfer::~Transfer() {
    foundation::RunLoop::main().cancel(timer_);
    foundation::RunLoop::main().cancel(fileRead_);
    detachReply();
}

void Transfer::begin(HttpTransport* network) {
    const QString scheme = current_.scheme().toLower();
    if (scheme == QLatin1StringView("file") && limits_.allowsFiles) {
        // Later, so that every transfer ends after start() returned.
        fileRead_ = foundation::RunLoop::main().perform([weak = weak_from_this()] {
            if (auto self = weak.lock()) self->readFile();
        });
        return;
    }
    const auto refuse = [&](std::string why) {
        fileRead_ = foundation::RunLoop::main().perform([weak = weak_from_this(), why = std::move(why)] {
            if (auto self = weak.lock()) self->end(why);
        });
    };
    if (!isHttp(scheme)) return refuse(fmt::format("{} is not an http or https address.", text(current_)));
    if (!network)
        return refuse(QCoreApplication::instance()
                          ? httpTransportError()
                          : "The network cannot be used without a Qt application object.");

    reply_ = network->get(current_, maximumRedirects, *this);
    armTimer();
}

void Transfer::readFile() {
    fileRead_ = 0;
    const std::string path = url_.path();
    std::error_code error;
    // Only a regular file: a FIFO or device would block the main thread or never end.
    if (!std::filesystem::is_regular_file(path, error))
        return end(fmt::format("The file {} does not exist or is not a regular file.", path));
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return end(fmt::format("The file {} could not be read: {}", path, file.errorString().toStdString()));
    while (true) {
        const QByteArray piece = file.read(filePieceSize);
        if (piece.isEmpty()) break;
        if (!take(piece)) return;
    }
    if (file.error() != QFileDevice::NoError)
        return end(fmt::format("The file {} could not be read: {}", path, file.errorString().toStdString()));
    end(std::nullopt);
}

void Transfer::redirected(const QUrl& target) {
    const QString scheme = target.scheme().toLower();
    if (!isHttp(scheme))
        return end(
            fmt::format("The server redirected to {}, which is not an http or https address.", text(target)));
    if (current_.scheme().toLower() == QLatin1StringView("https") && scheme == QLatin1StringView("http"))
        return end(
            fmt::format("The server redirected from a secure address to the insecure {}.", text(target)));
    current_ = target;
    reply_->allowRedirect();
}

void Transfer::metaDataChanged() {
    if (statusError()) return; // a redirect, or an error that finished() reports
    const auto length = reply_->contentLength();
    if (length && *length > limits_.maxBytes)
        end(fmt::format("{} holds more than {}.", text(current_), byteCountText(limits_.maxBytes)));
}

void Transfer::readyRead() {
    if (statusError()) return;
    take(reply_->readAll());
}

void Transfer::finished() {
    if (auto error = statusError()) return end(*error);
    if (const auto error = reply_->error())
        return end(fmt::format("{} could not be read: {}", text(current_), error->toStdString()));
    if (!take(reply_->readAll())) return;
    end(std::nullopt);
}

bool Transfer::take(QByteArrayView piece) {
    if (piece.isEmpty()) return true;
    received_ += piece.size();
    if (received_ > limits_.maxBytes) {
        end(fmt::format("{} holds more than {}.", text(current_), byteCountText(limits_.maxBytes)));
        return false;
    }
    if (auto error = receive_(piece)) {
        end(std::move(error));
        return false;
    }
    if (limits_.idle && reply_) armTimer();
    return true;
}

std::optional<std::string> Transfer::statusError() const {
    const auto status = reply_->status();
    if (!status) return std::nullopt;
    const int code = *status;
    if (code >= 200 && code < 300) return std::nullopt;
    const QString reason = reply_->reasonPhrase();
    if (reason.isEmpty()) return fmt::format("The server answered {} for {}.", code, text(current_));
    return fmt::format("The server answered {} ({}) for {}.", code, reason.toStdString(), text(current_));
}

void Transfer::armTimer() {
    auto& loop = foundation::RunLoop::main();
    loop.cancel(timer_);
    timer_ = loop.scheduleAfter(limits_.timeout, [weak = weak_from_this()] {
        auto self = weak.lock();
        if (!self) return;
        self->timer_ = 0;
        const auto seconds = self->limits_.timeout;
        self->end(self->limits_.idle
                      ? fmt::format("{} sent nothing for {:g} seconds.", text(self->current_), seconds)
                      : fmt::format("{} did not answer within {:g} seconds.", text(self->current_), seconds));
    });
}

void Transfer::end(std::optional<std::string> error) {
    if (ended_) return;
    ended_ = true;
    foundation::RunLoop::main().cancel(timer_);
    timer_ = 0;
    detachReply();
    auto finish = std::move(finish_);
    finish(std::move(error)); // may destroy this
}

void Transfer::detachReply() {
    reply_.reset();
}

} // namespace updater
