#pragma once

#include "HttpTransport.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"

#include <QByteArrayView>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace updater {

// The bounds of one transfer of outside data.
struct TransferLimits {
    std::int64_t maxBytes = 0;
    // Seconds on the main run loop's clock, for the whole transfer or, with `idle`, between
    // pieces of data.
    double timeout = 30;
    bool idle = false;
    bool allowsFiles = true;
};

// Reads a URL's content on the main thread: a file: URL from disk on a later turn of the main
// run loop, an http or https URL through the network transport, following redirects only to http(s) and
// never from https to http. Any other scheme, more than maxBytes, the timeout, an HTTP status
// other than 2xx or a transport error ends it with an error sentence for the user. Destroying it
// stops it without a call.
class Transfer : public std::enable_shared_from_this<Transfer>, private HttpRequestObserver {
public:
    // Takes each piece of the content in order; an error it returns ends the transfer.
    using Receive = std::function<std::optional<std::string>(QByteArrayView)>;
    // Called once, unless the transfer is destroyed first; it may destroy the transfer.
    using Finish = std::function<void(std::optional<std::string> error)>;

    // `network` is used for http(s) only; without it such a URL fails.
    static std::shared_ptr<Transfer> start(HttpTransport* network, const foundation::URL& url,
                                           TransferLimits limits, Receive receive, Finish finish);
    ~Transfer();

    Transfer(const foundation::URL& url, TransferLimits limits, Receive receive, Finish finish);
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

private:
    void begin(HttpTransport* network);
    void readFile();
    void redirected(const QUrl& target) override;
    void metaDataChanged() override;
    void readyRead() override;
    void finished() override;
    // False when the transfer ended (and may be gone).
    bool take(QByteArrayView piece);
    std::optional<std::string> statusError() const;
    void armTimer();
    void end(std::optional<std::string> error);
    void detachReply();

    const foundation::URL url_;
    const TransferLimits limits_;
    Receive receive_;
    Finish finish_;
    QUrl current_;
    std::unique_ptr<HttpRequest> reply_;
    std::int64_t received_ = 0;
    foundation::RunLoop::Token timer_ = 0;
    foundation::RunLoop::Token fileRead_ = 0;
    bool ended_ = false;
};

// "1 MiB", "300 bytes": a size limit as the user reads it.
std::string byteCountText(std::int64_t bytes);

} // namespace updater
