// A small HTTP server on 127.0.0.1 for the tests: fixed answers per path and
// query, with a chosen status, delay or a connection closed without answer.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace caltrix::testing {

struct HttpAnswer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/html; charset=windows-1252";
    int delayMs = 0;      // the answer is sent this long after the request
    QByteArray location;  // Location header (for redirects)
    bool closeWithoutAnswer = false;
    bool withoutLength = false;  // no Content-Length: the body ends when the connection closes
    bool stream = false;         // the body is sent and the connection held open for Push()
};

inline HttpAnswer Answer(int status, QByteArray body, QByteArray contentType = "text/html; charset=windows-1252") {
    HttpAnswer answer;
    answer.status = status;
    answer.body = std::move(body);
    answer.contentType = std::move(contentType);
    return answer;
}

class TestHttpServer : public QObject {
public:
    TestHttpServer();

    QUrl BaseUrl() const;  // http://127.0.0.1:<port>
    // Sets the answer for a path with its query, e.g. "/default.dll?page=soccer".
    // Unknown paths get 404.
    void Serve(const QString& target, HttpAnswer answer);
    int Hits(const QString& target) const { return m_hits.value(target); }
    // The request heads received for a path with its query, oldest first.
    QList<QByteArray> Requests(const QString& target) const { return m_requests.value(target); }
    // Sends bytes on every open stream answer; false when none is open.
    bool Push(const QByteArray& bytes);
    // Closes every open stream answer.
    void EndStreams();
    // Stops listening: later requests find no server.
    void Close() { m_server.close(); }

private:
    void onConnection();
    void answer(QTcpSocket* socket, const QString& target, const QByteArray& request);

    QTcpServer m_server;
    QHash<QString, HttpAnswer> m_answers;
    QHash<QString, int> m_hits;
    QHash<QString, QList<QByteArray>> m_requests;
    QList<QPointer<QTcpSocket>> m_streams;
};

}  // namespace caltrix::testing
