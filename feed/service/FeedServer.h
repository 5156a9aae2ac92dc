// The HTTP server of live match data: the live-score page
// (/default.dll?page=soccer), the configuration endpoint's files (/public/...)
// and a small status of the source (/feed/status), each made at request time.
#pragma once

#include "feed/service/HttpServer.h"

#include <QByteArray>
#include <QHostAddress>
#include <QJsonObject>
#include <QUrl>

#include <functional>
#include <optional>
#include <string>

namespace caltrix::feed {

struct FeedRoutes {
    std::function<std::optional<std::string>()> page;                     // nothing: no current results (503)
    std::function<std::optional<QByteArray>(const QString&)> publicFile;  // empty: no configuration served
    std::function<QJsonObject()> status;
};

class FeedServer {
public:
    explicit FeedServer(FeedRoutes routes);
    ~FeedServer();

    // Port 0 takes a free port; false when it cannot listen.
    bool Listen(const QHostAddress& address, quint16 port);
    QUrl BaseUrl() const;  // http://<address>:<port>, once listening

private:
    HttpAnswer answer(const HttpRequest& request) const;

    FeedRoutes m_routes;
    HttpServer m_server;
    QHostAddress m_address;
    quint16 m_port = 0;
};

}  // namespace caltrix::feed
