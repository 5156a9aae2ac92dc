#include "feed/service/FeedService.h"

#include "feed/service/DemoMatchDay.h"
#include "feed/service/EventPublisher.h"
#include "feed/service/FeedLogging.h"
#include "feed/service/FeedPoller.h"
#include "feed/service/GeneratedConfiguration.h"
#include "feed/service/LocalConfigFolder.h"
#include "feed/service/PollSchedule.h"

#include <QJsonDocument>

#include <stdexcept>

namespace caltrix::feed {
namespace {

std::unique_ptr<MatchSource> sourceFor(const FeedSettings& settings, bool demo) {
    if (demo) return std::make_unique<DemoMatchDay>();
    if (settings.kind == FeedKind::None) return nullptr;
    return std::make_unique<FeedPoller>(ProviderFor(settings.kind), settings, settings.interval);
}

}  // namespace

FeedService::FeedService(const FeedSettings& settings, bool demo)
    : m_source(sourceFor(settings, demo)), m_server([this](const QString& name) {
          // The folder is read at each request, on the server's threads.
          return m_configuration ? m_configuration->Read(name) : std::nullopt;
      }) {
    if (!settings.localConfig.isEmpty()) {
        m_configuration = std::make_unique<LocalConfigFolder>(settings.localConfig);
        m_configurationDescription = QStringLiteral("the configuration of %1").arg(settings.localConfig);
    } else if (demo) {
        m_configuration = std::make_unique<LocalConfigFolder>(DemoMatchDay::BundledFolder());
        m_configurationDescription = QStringLiteral("the demo configuration");
    }
}

FeedService::~FeedService() = default;

void FeedService::PublishEventsTo(const QUrl& publisher) { m_publisher = std::make_unique<EventPublisher>(publisher); }

void FeedService::Start(const QHostAddress& address, quint16 port) {
    refresh();
    if (!m_server.Listen(address, port))
        throw std::runtime_error(
            QStringLiteral("the feed cannot listen on %1 port %2").arg(address.toString()).arg(port).toStdString());
    qCInfo(lcFeed).noquote() << QStringLiteral("serving %1 on %2").arg(servedText(), BaseUrl().toString());
    if (m_generatedConfiguration)
        qCInfo(lcFeed).noquote() << QStringLiteral(
            "no configuration given: the slots show the feed's competitions in their order; "
            "--local-config DIR chooses them");
    if (m_source) {
        m_source->Start();
        QObject::connect(m_source.get(), &MatchSource::PageChanged, m_source.get(), [this] { refresh(); });
    }
    m_refresh.callOnTimeout([this] { refresh(); });
    m_refresh.start(std::chrono::seconds(1));
}

void FeedService::refresh() {
    if (m_source) m_polls.store(std::make_shared<const PollFigures>(m_source->Polls(UtcNow())));
    ServedNow served{m_source ? m_source->PageNow() : std::nullopt, configurationText(),
                     QJsonDocument(Status()).toJson().toStdString()};
    if (m_server.Publish(std::move(served), std::chrono::system_clock::now()) && m_publisher)
        m_publisher->Post(m_server.Versions());
}

QString FeedService::servedText() const {
    QStringList served;
    if (m_source) served << m_source->Description();
    if (m_configuration)
        served << m_configurationDescription;
    else if (m_generatedConfiguration)
        served << QStringLiteral("a generated configuration");
    return served.join(QLatin1String(" and "));
}

std::optional<std::string> FeedService::configurationText() const {
    std::optional<QByteArray> text;
    if (m_configuration)
        text = m_configuration->Read(QStringLiteral("config.txt"));
    else if (m_generatedConfiguration)
        text = GeneratedConfiguration(m_source->LastGoodMatches(), m_source->Origin());
    return text ? std::optional(text->toStdString()) : std::nullopt;
}

QJsonObject FeedService::Status() const {
    if (m_source) return m_source->Status(UtcNow());
    return {{QStringLiteral("source"), QStringLiteral("none")}};
}

std::unique_ptr<FeedService> StartEmbeddedFeed(const FeedSettings& settings, bool demo, bool endpointGiven,
                                               QUrl& configEndpoint, QUrl& scoreSite) {
    auto service = std::make_unique<FeedService>(settings, demo);
    if (!endpointGiven) service->GenerateConfiguration();
    if (!service->ServesPages() && !service->ServesConfiguration()) return nullptr;
    service->Start(QHostAddress::LocalHost, 0);
    if (service->ServesPages()) scoreSite = service->BaseUrl();
    if (service->ServesConfiguration()) configEndpoint = service->BaseUrl();
    return service;
}

}  // namespace caltrix::feed
