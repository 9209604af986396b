#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <string>

namespace updater {

// What an http(s) request reports, on the main thread.
class HttpRequestObserver {
public:
    virtual void redirected(const QUrl& target) = 0;
    virtual void metaDataChanged() = 0;
    virtual void readyRead() = 0;
    virtual void finished() = 0;

protected:
    ~HttpRequestObserver() = default;
};

// One GET under way. Destroying it aborts it without further reports.
class HttpRequest {
public:
    virtual ~HttpRequest() = default;
    // Follows the redirect last reported.
    virtual void allowRedirect() = 0;
    virtual std::optional<int> status() const = 0;
    virtual QString reasonPhrase() const = 0;
    virtual std::optional<qint64> contentLength() const = 0;
    virtual QByteArray readAll() = 0;
    // The transport's failure, once finished.
    virtual std::optional<QString> error() const = 0;
};

// The http(s) side of transfers. It lives in a module of its own, loaded on first use, so that
// programs do not map the network libraries at start.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual std::unique_ptr<HttpRequest> get(const QUrl& url, int maximumRedirects,
                                             HttpRequestObserver& observer) = 0;
};

// The module's entry point: a new transport, owned by the caller.
using HttpTransportFactory = HttpTransport*();
inline constexpr const char* httpTransportFactoryName = "quorilMakeHttpTransport";
inline constexpr const char* httpTransportModuleName = "libquoril-updater-network.so";

// A transport from the module beside this library (loaded once, never unloaded), or nothing
// and, in `error`, why not.
std::unique_ptr<HttpTransport> makeHttpTransport(std::string& error);
// Why makeHttpTransport() gives nothing; empty when it gives a transport.
std::string httpTransportError();

} // namespace updater
