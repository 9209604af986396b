#include "TestHttpServer.h"

#include <QTcpSocket>

#include <stdexcept>

namespace testing_support {

TestHttpServer::TestHttpServer() {
    if (!server_.listen(QHostAddress::LocalHost, 0)) throw std::runtime_error("no port on 127.0.0.1");
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

TestHttpServer::~TestHttpServer() {
    for (const auto& socket : stalled_)
        if (socket) socket->abort();
}

void TestHttpServer::answer(const std::string& path, Response response) {
    responses_[path] = std::move(response);
}

std::string TestHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + path;
}

int TestHttpServer::requests(const std::string& path) const {
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

void TestHttpServer::serve(QTcpSocket* socket) {
    QByteArray& request = pending_[socket];
    request += socket->readAll();
    const auto end = request.indexOf("\r\n\r\n");
    if (end < 0) return;
    // "GET <path> HTTP/1.1"
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const std::string path = words.size() >= 2 ? words[1].toStdString() : std::string();
    pending_.erase(socket);
    ++requests_[path];
    QObject::disconnect(socket, &QTcpSocket::readyRead, nullptr, nullptr);

    const auto found = responses_.find(path);
    const Response response =
        found != responses_.end() ? found->second : Response{404, "Not Found", "no such file"};
    if (response.stall) {
        stalled_.push_back(socket);
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " " +
                      QByteArray::fromStdString(response.reason) + "\r\n";
    if (!response.omitsLength)
        head +=
            "Content-Length: " + QByteArray::number(response.contentLength.value_or(response.body.size())) +
            "\r\n";
    head += "Connection: close\r\n";
    for (const auto& [name, value] : response.headers)
        head += QByteArray::fromStdString(name) + ": " + QByteArray::fromStdString(value) + "\r\n";
    socket->write(head + "\r\n" + response.body);
    socket->disconnectFromHost();
}

} // namespace testing_support
