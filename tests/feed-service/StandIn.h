// A stand-in provider on 127.0.0.1 for the tests: one answer for every
// request, set by the test, and a record of the requests it saw.
#pragma once

#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QUrl>

#include <functional>
#include <vector>

namespace caltrix::feed::testing {

struct SeenRequest {
    QUrl url;
    QByteArray key;  // the X-Auth-Token header
};

class StandIn {
public:
    StandIn() {
        m_server.route(QStringLiteral("/<arg>"), [this](const QUrl&, const QHttpServerRequest& request) {
            seen.push_back({request.url(), request.value("X-Auth-Token")});
            return answer();
        });
        m_port = m_server.listen(QHostAddress::LocalHost, 0);
    }
    QString Base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

    std::function<QHttpServerResponse()> answer = [] {
        return QHttpServerResponse(QHttpServerResponse::StatusCode::NotFound);
    };
    std::vector<SeenRequest> seen;

private:
    QHttpServer m_server;
    quint16 m_port = 0;
};

}  // namespace caltrix::feed::testing
