#include "tests/support/TestHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace caltrix::testing {
namespace {

QByteArray StatusLine(int status) {
    switch (status) {
    case 200:
        return "200 OK";
    case 302:
        return "302 Found";
    case 404:
        return "404 Not Found";
    case 500:
        return "500 Internal Server Error";
    default:
        return QByteArray::number(status) + " Status";
    }
}

// The request in `bytes` once its head and the body it announces have arrived.
std::optional<HttpRequest> CompleteRequest(const QByteArray& bytes) {
    const qsizetype headEnd = bytes.indexOf("\r\n\r\n");
    if (headEnd < 0) return std::nullopt;
    HttpRequest request;
    request.head = bytes.left(headEnd + 4);
    const QList<QByteArray> requestLine = request.head.left(request.head.indexOf("\r\n")).split(' ');
    if (requestLine.size() > 1) request.target = QString::fromLatin1(requestLine.at(1));
    request.body = bytes.mid(headEnd + 4);
    if (request.body.size() < request.Header("Content-Length").toLongLong()) return std::nullopt;
    return request;
}

}  // namespace

QByteArray HttpRequest::Header(const QByteArray& name) const {
    for (const QByteArray& line : head.split('\n').mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

TestHttpServer::TestHttpServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::onConnection);
}

QUrl TestHttpServer::BaseUrl() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

void TestHttpServer::Serve(const QString& target, HttpAnswer answer) { m_answers.insert(target, std::move(answer)); }

QList<HttpRequest> TestHttpServer::Requests(const QString& target) const {
    QList<HttpRequest> matching;
    for (const HttpRequest& request : m_requests)
        if (request.target == target) matching.append(request);
    return matching;
}

void TestHttpServer::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket->property("answered").toBool()) return;
            const QByteArray bytes = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", bytes);
            std::optional<HttpRequest> request = CompleteRequest(bytes);
            if (!request) return;
            socket->setProperty("answered", true);
            answer(socket, std::move(*request));
        });
    }
}

bool TestHttpServer::Push(const QByteArray& bytes) {
    bool sent = false;
    for (const QPointer<QTcpSocket>& stream : m_streams) {
        if (!stream || stream->state() != QAbstractSocket::ConnectedState) continue;
        stream->write(bytes);
        sent = true;
    }
    return sent;
}

void TestHttpServer::EndStreams() {
    for (const QPointer<QTcpSocket>& stream : std::exchange(m_streams, {}))
        if (stream) stream->disconnectFromHost();
}

HttpAnswer TestHttpServer::answerFor(const QString& target) {
    QList<HttpAnswer>& once = m_onceAnswers[target];
    if (!once.isEmpty()) return once.takeFirst();
    return m_answers.value(target, m_anyAnswer.value_or(Answer(404, "not here", "text/plain")));
}

void TestHttpServer::answer(QTcpSocket* socket, HttpRequest request) {
    HttpAnswer reply = answerFor(request.target);
    m_requests.append(std::move(request));
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(reply.delayMs, this, [this, guarded, reply] {
        if (!guarded) return;
        if (!reply.closeWithoutAnswer) {
            QByteArray head = "HTTP/1.1 " + StatusLine(reply.status) + "\r\nContent-Type: " + reply.contentType +
                              "\r\nCache-Control: no-store\r\nConnection: close\r\n";
            for (const auto& [name, value] : reply.headers) head += name + ": " + value + "\r\n";
            if (reply.stream) {
                guarded->write(head + "\r\n" + reply.body);
                m_streams.append(guarded);
                return;
            }
            if (!reply.withoutLength) head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
            guarded->write(head + "\r\n" + reply.body);
        }
        guarded->disconnectFromHost();
    });
}

quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

}  // namespace caltrix::testing
