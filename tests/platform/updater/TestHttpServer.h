// An HTTP server on 127.0.0.1 for one test, answering each path as it is told; it runs in Qt's
// event loop, so a test polls events while a request is under way.
#pragma once

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <map>
#include <optional>
#include <string>
#include <vector>

class QTcpSocket;

namespace testing_support {

class TestHttpServer {
public:
    struct Response {
        int status = 200;
        std::string reason = "OK";
        QByteArray body{};
        std::vector<std::pair<std::string, std::string>> headers{};
        // Announced instead of the body's length; the connection closes after the body.
        std::optional<qint64> contentLength{};
        // Sends no Content-Length: the end of the connection ends the body.
        bool omitsLength = false;
        // Reads the request and then says nothing, keeping the connection open.
        bool stall = false;
    };

    TestHttpServer();
    ~TestHttpServer();

    void answer(const std::string& path, Response response);
    // "http://127.0.0.1:<port><path>".
    std::string url(const std::string& path) const;
    // How many requests for the path arrived so far.
    int requests(const std::string& path) const;

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    std::map<std::string, Response> responses_;
    std::map<std::string, int> requests_;
    std::map<QTcpSocket*, QByteArray> pending_;
    std::vector<QPointer<QTcpSocket>> stalled_;
};

} // namespace testing_support
