// A small HTTP server on 127.0.0.1 for the tests: fixed answers per path and
// query, with a chosen status, headers, delay or a connection closed without
// answer, and a record of every request.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <optional>
#include <utility>

namespace caltrix::testing {

struct HttpAnswer {
    int status = 200;
    QByteArray body;
    QByteArray contentType = "text/html; charset=windows-1252";
    QList<std::pair<QByteArray, QByteArray>> headers;  // more header lines, e.g. Location for redirects
    int delayMs = 0;                                   // the answer is sent this long after the request
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

struct HttpRequest {
    QString target;   // path with its query
    QByteArray head;  // request line and header lines, up to the blank line
    QByteArray body;

    QUrl Url() const { return QUrl(target); }
    // The value of a header, named in any case; empty when it was not sent.
    QByteArray Header(const QByteArray& name) const;
};

class TestHttpServer : public QObject {
public:
    TestHttpServer();

    QUrl BaseUrl() const;  // http://127.0.0.1:<port>
    // Sets the answer for a path with its query, e.g. "/default.dll?page=soccer".
    // Unknown paths get the answer set by ServeAny, or 404.
    void Serve(const QString& target, HttpAnswer answer);
    void ServeAny(HttpAnswer answer) { m_anyAnswer = std::move(answer); }
    // Answers the next request for the target only, before its standing answer.
    void ServeOnce(const QString& target, HttpAnswer answer) { m_onceAnswers[target].append(std::move(answer)); }
    int Hits(const QString& target) const { return static_cast<int>(Requests(target).size()); }
    // The requests received, oldest first: all of them, or those for a path with its query.
    const QList<HttpRequest>& Requests() const { return m_requests; }
    QList<HttpRequest> Requests(const QString& target) const;
    // Sends bytes on every open stream answer; false when none is open.
    bool Push(const QByteArray& bytes);
    // Closes every open stream answer.
    void EndStreams();
    // Stops listening: later requests find no server.
    void Close() { m_server.close(); }

private:
    void onConnection();
    void answer(QTcpSocket* socket, HttpRequest request);
    HttpAnswer answerFor(const QString& target);

    QTcpServer m_server;
    QHash<QString, HttpAnswer> m_answers;
    QHash<QString, QList<HttpAnswer>> m_onceAnswers;
    std::optional<HttpAnswer> m_anyAnswer;
    QList<HttpRequest> m_requests;
    QList<QPointer<QTcpSocket>> m_streams;
};

// A port on 127.0.0.1 that is free now, for a server the test starts itself.
quint16 FreePort();

}  // namespace caltrix::testing
