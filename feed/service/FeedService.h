// The live match data of one program: its source (a provider's poller or the
// demo's simulated match day), the configuration it serves (a local folder,
// the demo's bundled files or one made from the source's competitions) and
// the server that hands both out.
#pragma once

#include "feed/service/FeedOptions.h"
#include "feed/service/FeedServer.h"
#include "feed/service/MatchSource.h"

#include <QHostAddress>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

namespace caltrix::feed {

class EventPublisher;
class LocalConfigFolder;
class MatchSource;

class FeedService {
public:
    FeedService(const FeedSettings& settings, bool demo);
    ~FeedService();

    // Serves a configuration made from the source's competitions, for a
    // display given no configuration of its own.
    void GenerateConfiguration() { m_generatedConfiguration = m_source && !m_configuration; }
    // Starts serving and polling; throws std::runtime_error when it cannot listen.
    void Start(const QHostAddress& address, quint16 port);
    QUrl BaseUrl() const { return m_server.BaseUrl(); }
    // The server, for more routes (before Start) and its versions.
    FeedServer& Server() { return m_server; }
    // Posts each new version's event to a publisher (before Start).
    void PublishEventsTo(const QUrl& publisher);

    bool ServesPages() const { return m_source != nullptr; }
    // The source of the pages; null when none is served.
    MatchSource* Source() const { return m_source.get(); }
    bool ServesConfiguration() const { return m_configuration || m_generatedConfiguration; }
    // The source, its last good poll and age and its fault now (/feed/status).
    QJsonObject Status() const;
    // The source's polls as of the last refresh; safe on any thread.
    PollFigures Polls() const { return *m_polls.load(); }

private:
    // Hands what is served now to the server: each second, as minutes and
    // the status move, and at once when the source has new results.
    void refresh();
    std::optional<std::string> configurationText() const;
    QString servedText() const;

    std::unique_ptr<MatchSource> m_source;
    std::unique_ptr<LocalConfigFolder> m_configuration;
    QString m_configurationDescription;  // for the log
    bool m_generatedConfiguration = false;
    FeedServer m_server;
    QTimer m_refresh;
    std::unique_ptr<EventPublisher> m_publisher;
    std::atomic<std::shared_ptr<const PollFigures>> m_polls{std::make_shared<const PollFigures>()};
};

// For the display: when a feed, the demo or a local configuration is asked
// for, serves it on 127.0.0.1 and points the live-score site and/or the
// configuration endpoint there. A feed with neither a local configuration
// nor an endpoint of the operator's serves a generated configuration.
// Nothing when none is asked for.
std::unique_ptr<FeedService> StartEmbeddedFeed(const FeedSettings& settings, bool demo, bool endpointGiven,
                                               QUrl& configEndpoint, QUrl& scoreSite);

}  // namespace caltrix::feed
