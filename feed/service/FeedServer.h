// The HTTP server of live match data: the live-score page
// (/default.dll?page=soccer, and &v=N for version N or newer), the
// configuration endpoint's files (/public/...), a small status of the source
// (/feed/status) and the stream of new versions (/feed/events, Server-Sent
// Events). The page, the configuration and the status are handed over whole
// from one thread (Publish) and read by the routes on the server's threads.
#pragma once

#include "feed/service/FeedVersions.h"
#include "feed/service/HttpServer.h"

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace caltrix::feed {

// What is served now, as one whole.
struct ServedNow {
    std::optional<std::string> page;           // nothing: no current results (503)
    std::optional<std::string> configuration;  // config.txt as served before %ENDPOINT%; nothing: none
    std::string status;                        // /feed/status, JSON
};

class FeedServer {
public:
    // Reads a file of the configuration folder, on the server's threads;
    // nothing when there is none (config.txt then comes from Publish).
    using PublicFiles = std::function<std::optional<QByteArray>(const QString& name)>;

    explicit FeedServer(PublicFiles publicFiles, HttpServerLimits limits = {});
    ~FeedServer();

    // More routes (before Listen), and an observer of every answer.
    void AddRoute(HttpRoute route) { m_server.AddRoute(std::move(route)); }
    void SetObserver(HttpServer::Observer observer) { m_server.SetObserver(std::move(observer)); }

    // Port 0 takes a free port; false when it cannot listen.
    bool Listen(const QHostAddress& address, quint16 port);
    QUrl BaseUrl() const;  // http://<address>:<port>, once listening

    // Hands over what is served now; true when it makes a new version, which
    // the event streams then send.
    bool Publish(ServedNow served, std::chrono::system_clock::time_point now);
    ServedVersions Versions() const { return current()->versions; }
    int OpenEventStreams() const { return m_server.OpenStreams(); }

private:
    struct Served {
        ServedNow now;
        ServedVersions versions;
    };
    class EventStream;

    std::shared_ptr<const Served> current() const { return m_served.load(); }
    void addRoutes();
    HttpAnswer page(const HttpRequest& request) const;
    HttpAnswer publicFile(const HttpRequest& request) const;
    HttpAnswer events(const HttpRequest& request) const;

    PublicFiles m_publicFiles;
    VersionBook m_book;  // on the publishing thread only
    std::atomic<std::shared_ptr<const Served>> m_served;
    HttpServer m_server;
    QHostAddress m_address;
    quint16 m_port = 0;
};

}  // namespace caltrix::feed
