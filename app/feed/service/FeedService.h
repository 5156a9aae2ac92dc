// The live match data of one program: its source (a provider's poller or the
// demo's simulated match day), the configuration it serves (a local folder or
// the demo's bundled files) and the server that hands both out.
#pragma once

#include "app/feed/service/FeedOptions.h"
#include "app/feed/service/FeedServer.h"

#include <QHostAddress>
#include <QUrl>

#include <memory>

namespace caltrix::demo {
class DemoFeed;
}

namespace caltrix::feed {

class FeedPoller;
class LocalConfigFolder;

class FeedService {
public:
    FeedService(const FeedSettings& settings, bool demo);
    ~FeedService();

    // Serves a configuration made from the polled competitions, for a
    // display given no configuration of its own.
    void GenerateConfiguration() { m_generatedConfiguration = m_poller != nullptr; }
    // Starts serving and polling; throws std::runtime_error when it cannot listen.
    void Start(const QHostAddress& address, quint16 port);
    QUrl BaseUrl() const { return m_server.BaseUrl(); }

    bool ServesPages() const { return m_poller || m_demo; }
    bool ServesConfiguration() const { return m_localConfig || m_demo || m_generatedConfiguration; }
    // The source, its last good poll and age and its fault now (/feed/status).
    QJsonObject Status() const;

private:
    std::optional<std::string> page() const;
    std::optional<QByteArray> publicFile(const QString& name) const;

    std::unique_ptr<FeedPoller> m_poller;
    std::unique_ptr<demo::DemoFeed> m_demo;
    std::unique_ptr<LocalConfigFolder> m_localConfig;
    bool m_generatedConfiguration = false;
    QString m_provider, m_localConfigFolder;  // for the log
    QString m_origin;                         // where the results come from, for the generated ticker
    QTimeZone m_timeZone;                     // of the kick-off times on the page
    FeedServer m_server;
};

// For the display: when a feed, the demo or a local configuration is asked
// for, serves it on 127.0.0.1 and points the live-score site and/or the
// configuration endpoint there. A feed with neither a local configuration
// nor an endpoint of the operator's serves a generated configuration.
// Nothing when none is asked for.
std::unique_ptr<FeedService> StartEmbeddedFeed(const FeedSettings& settings, bool demo, bool endpointGiven,
                                               QUrl& configEndpoint, QUrl& scoreSite);

}  // namespace caltrix::feed
