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

}  // namespace

TestHttpServer::TestHttpServer() {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::onConnection);
}

QUrl TestHttpServer::BaseUrl() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }

void TestHttpServer::Serve(const QString& target, HttpAnswer answer) { m_answers.insert(target, std::move(answer)); }

void TestHttpServer::onConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket->property("answered").toBool()) return;
            QByteArray request = socket->property("request").toByteArray() + socket->readAll();
            socket->setProperty("request", request);
            if (!request.contains("\r\n\r\n")) return;
            socket->setProperty("answered", true);
            const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
            answer(socket, requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString(), request);
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

void TestHttpServer::answer(QTcpSocket* socket, const QString& target, const QByteArray& request) {
    ++m_hits[target];
    m_requests[target].append(request);
    HttpAnswer reply = m_answers.value(target, Answer(404, "not here", "text/plain"));
    QPointer<QTcpSocket> guarded(socket);
    QTimer::singleShot(reply.delayMs, this, [this, guarded, reply] {
        if (!guarded) return;
        if (!reply.closeWithoutAnswer) {
            QByteArray head = "HTTP/1.1 " + StatusLine(reply.status) + "\r\nContent-Type: " + reply.contentType +
                              "\r\nCache-Control: no-store\r\nConnection: close\r\n";
            if (reply.stream) {
                guarded->write(head + "\r\n" + reply.body);
                m_streams.append(guarded);
                return;
            }
            if (!reply.withoutLength) head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
            if (!reply.location.isEmpty()) head += "Location: " + reply.location + "\r\n";
            guarded->write(head + "\r\n" + reply.body);
        }
        guarded->disconnectFromHost();
    });
}

}  // namespace caltrix::testing
