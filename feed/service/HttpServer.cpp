#include "feed/service/HttpServer.h"

#include <QTcpSocket>
#include <QTimer>

#include <optional>

namespace caltrix::feed {
namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

struct RequestHead {
    QByteArray method, target, version;
    QList<QPair<QByteArray, QByteArray>> headers;  // names in lower case

    QByteArray value(const QByteArray& name) const {
        for (const auto& [key, value] : headers)
            if (key == name) return value;
        return {};
    }
};

// The request line and headers; nothing for a malformed head.
std::optional<RequestHead> parseHead(const QByteArray& head) {
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine[1].startsWith('/') || !requestLine[2].startsWith("HTTP/1."))
        return std::nullopt;
    RequestHead parsed{requestLine[0], requestLine[1], requestLine[2], {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0) parsed.headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    return parsed;
}

// HTTP/1.1 keeps the connection unless told to close; HTTP/1.0 closes it
// unless told to keep it.
bool keepsAlive(const RequestHead& head) {
    const QByteArray connection = head.value("connection").toLower();
    if (head.version == "HTTP/1.0") return connection.contains("keep-alive");
    return !connection.contains("close");
}

void write(QTcpSocket* socket, const HttpAnswer& answer, bool withBody, bool keepAlive, bool http10) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reasonPhrase(answer.status) + "\r\n";
    out += "Content-Type: " + answer.contentType + "\r\nContent-Length: " + QByteArray::number(answer.body.size()) +
           "\r\n";
    for (const auto& [name, value] : answer.headers) out += name + ": " + value + "\r\n";
    if (!keepAlive)
        out += "Connection: close\r\n";
    else if (http10)
        out += "Connection: keep-alive\r\n";
    out += "\r\n";
    if (withBody) out += answer.body;
    socket->write(out);
}

}  // namespace

HttpServer::HttpServer(std::function<HttpAnswer(const HttpRequest&)> handler, std::chrono::milliseconds idleTimeout)
    : m_handler(std::move(handler)), m_idleTimeout(idleTimeout) {
    connect(&m_listener, &QTcpServer::newConnection, this, &HttpServer::accept);
}

quint16 HttpServer::Listen(const QHostAddress& address, quint16 port) {
    return m_listener.listen(address, port) ? m_listener.serverPort() : 0;
}

void HttpServer::accept() {
    while (QTcpSocket* socket = m_listener.nextPendingConnection()) {
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->start(m_idleTimeout);
        connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, idle] {
            idle->start(m_idleTimeout);
            readRequests(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpServer::readRequests(QTcpSocket* socket) {
    if (socket->state() != QAbstractSocket::ConnectedState) return;  // closing after an answer
    QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
    for (qsizetype end; (end = buffer.indexOf("\r\n\r\n")) >= 0;) {
        const QByteArray head = buffer.left(end);
        buffer.remove(0, end + 4);
        if (!answer(socket, head)) {
            socket->disconnectFromHost();
            return;
        }
    }
    if (buffer.size() > kMaxHeadBytes) {
        write(socket, {431, "text/plain", "request head too large\n", {}}, true, false, false);
        socket->disconnectFromHost();
        return;
    }
    socket->setProperty("pending", buffer);
}

bool HttpServer::answer(QTcpSocket* socket, const QByteArray& head) {
    const std::optional<RequestHead> request = parseHead(head);
    if (!request) {
        write(socket, {400, "text/plain", "malformed request\n", {}}, true, false, false);
        return false;
    }
    const bool http10 = request->version == "HTTP/1.0";
    // A request with a body is not read: its connection closes after the answer.
    const bool hasBody =
        !request->value("transfer-encoding").isEmpty() || request->value("content-length").toLongLong() > 0;
    const bool keepAlive = keepsAlive(*request) && !hasBody;
    const bool isHead = request->method == "HEAD";
    if (request->method != "GET" && !isHead) {
        write(socket, {405, "text/plain", "only GET and HEAD\n", {{"Allow", "GET, HEAD"}}}, true, false, http10);
        return false;
    }
    const QByteArray host = request->value("host").isEmpty() ? "localhost" : request->value("host");
    const HttpAnswer answer = m_handler({QUrl(QString::fromLatin1("http://" + host + request->target))});
    write(socket, answer, !isHead, keepAlive, http10);
    return keepAlive;
}

}  // namespace caltrix::feed
