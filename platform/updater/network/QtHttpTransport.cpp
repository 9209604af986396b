// The http(s) transport of the updater over Qt Network, loaded by the updater on first use.
#include "HttpTransport.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QObject>

namespace updater {

namespace {

class QtHttpRequest final : public HttpRequest {
public:
    QtHttpRequest(QNetworkAccessManager& network, const QUrl& url, int maximumRedirects,
                  HttpRequestObserver& observer) {
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(maximumRedirects);
        reply_ = network.get(request);
        auto* observed = &observer;
        QObject::connect(reply_, &QNetworkReply::redirected, &context_,
                         [observed](const QUrl& target) { observed->redirected(target); });
        QObject::connect(reply_, &QNetworkReply::metaDataChanged, &context_,
                         [observed] { observed->metaDataChanged(); });
        QObject::connect(reply_, &QNetworkReply::readyRead, &context_, [observed] { observed->readyRead(); });
        QObject::connect(reply_, &QNetworkReply::finished, &context_, [observed] { observed->finished(); });
    }

    ~QtHttpRequest() override {
        QObject::disconnect(reply_, nullptr, &context_, nullptr);
        reply_->abort();
        reply_->deleteLater();
    }

    void allowRedirect() override { Q_EMIT reply_->redirectAllowed(); }

    std::optional<int> status() const override {
        const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (!status.isValid()) return std::nullopt;
        return status.toInt();
    }

    QString reasonPhrase() const override {
        return reply_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    }

    std::optional<qint64> contentLength() const override {
        const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
        if (!length.isValid()) return std::nullopt;
        return length.toLongLong();
    }

    QByteArray readAll() override { return reply_->readAll(); }

    std::optional<QString> error() const override {
        if (reply_->error() == QNetworkReply::NoError) return std::nullopt;
        return reply_->errorString();
    }

private:
    QObject context_; // ties the reply's signals to this request
    QNetworkReply* reply_ = nullptr;
};

class QtHttpTransport final : public HttpTransport {
public:
    std::unique_ptr<HttpRequest> get(const QUrl& url, int maximumRedirects,
                                     HttpRequestObserver& observer) override {
        return std::make_unique<QtHttpRequest>(network_, url, maximumRedirects, observer);
    }

private:
    QNetworkAccessManager network_;
};

} // namespace

} // namespace updater

extern "C" __attribute__((visibility("default"))) updater::HttpTransport* quorilMakeHttpTransport() {
    return new updater::QtHttpTransport;
}
