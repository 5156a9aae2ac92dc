// A small HTTP/1.1 server for the feed's few GET routes: keeps a connection
// open between requests unless the client asks otherwise (Connection: close,
// or HTTP/1.0 without keep-alive), drops connections idle for a minute and
// answers other methods than GET and HEAD with 405. Every answer carries its
// Content-Length, so a client never waits for the connection to close.
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QTcpServer>
#include <QUrl>

#include <chrono>
#include <functional>

class QTcpSocket;

namespace caltrix::feed {

struct HttpRequest {
    QUrl url;  // http://<Host header><target>
};

struct HttpAnswer {
    int status = 200;
    QByteArray contentType = "text/plain";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;  // beyond type, length and connection
};

class HttpServer : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kMaxHeadBytes = 16 * 1024;  // request line and headers
    static constexpr std::chrono::seconds kIdleTimeout{60};

    explicit HttpServer(std::function<HttpAnswer(const HttpRequest&)> handler,
                        std::chrono::milliseconds idleTimeout = kIdleTimeout);

    // Port 0 takes a free port; 0 when it cannot listen.
    quint16 Listen(const QHostAddress& address, quint16 port);

private:
    void accept();
    void readRequests(QTcpSocket* socket);
    // Answers the request whose head is `head`; false when the connection is to close.
    bool answer(QTcpSocket* socket, const QByteArray& head);

    std::function<HttpAnswer(const HttpRequest&)> m_handler;
    std::chrono::milliseconds m_idleTimeout;
    QTcpServer m_listener;
};

}  // namespace caltrix::feed
