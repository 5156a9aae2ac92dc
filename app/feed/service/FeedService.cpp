#include "app/feed/service/FeedService.h"

#include "app/demo/DemoFeed.h"
#include "app/feed/model/PageWriter.h"
#include "app/feed/service/FeedLogging.h"
#include "app/feed/service/FeedPoller.h"
#include "app/feed/service/GeneratedConfiguration.h"
#include "app/feed/service/LocalDay.h"
#include "app/feed/service/LocalConfigFolder.h"
#include "app/feed/service/PollSchedule.h"

#include <stdexcept>

namespace caltrix::feed {

FeedService::FeedService(const FeedSettings& settings, bool demo)
    : m_server({[this] { return page(); }, [this](const QString& name) { return publicFile(name); },
                [this] { return Status(); }}) {
    if (demo)
        m_demo = std::make_unique<demo::DemoFeed>();
    else if (settings.kind != FeedKind::None)
        m_poller = std::make_unique<FeedPoller>(ProviderFor(settings.kind), settings, settings.interval);
    if (m_poller) {
        const Provider& provider = ProviderFor(settings.kind);
        m_provider = provider.name;
        m_origin = provider.origin.isEmpty() ? settings.url : provider.origin;
    }
    m_localConfigFolder = settings.localConfig;
    m_timeZone = settings.timeZone;
    if (!settings.localConfig.isEmpty()) m_localConfig = std::make_unique<LocalConfigFolder>(settings.localConfig);
}

FeedService::~FeedService() = default;

void FeedService::Start(const QHostAddress& address, quint16 port) {
    if (!m_server.Listen(address, port))
        throw std::runtime_error(
            QStringLiteral("the feed cannot listen on %1 port %2").arg(address.toString()).arg(port).toStdString());
    QStringList served;
    if (m_demo) served << QStringLiteral("the demo match day");
    if (m_poller) served << QStringLiteral("the %1 feed").arg(m_provider);
    if (m_localConfig)
        served << QStringLiteral("the configuration of %1").arg(m_localConfigFolder);
    else if (m_demo)
        served << QStringLiteral("the demo configuration");
    else if (m_generatedConfiguration)
        served << QStringLiteral("a generated configuration");
    qCInfo(lcFeed).noquote()
        << QStringLiteral("serving %1 on %2").arg(served.join(QLatin1String(" and ")), BaseUrl().toString());
    if (m_generatedConfiguration)
        qCInfo(lcFeed).noquote() << QStringLiteral(
            "no configuration given: the slots show the feed's competitions in their order; "
            "--local-config DIR chooses them");
    if (m_poller) m_poller->Start();
}

std::optional<std::string> FeedService::page() const {
    if (m_demo) return m_demo->PageNow();
    const MatchModel* model = m_poller ? m_poller->Current() : nullptr;
    if (model == nullptr) return std::nullopt;
    return WritePage(*model, UtcNow(),
                     [zone = m_timeZone](std::chrono::sys_seconds instant) { return UtcOffset(zone, instant); });
}

std::optional<QByteArray> FeedService::publicFile(const QString& name) const {
    if (m_localConfig) return m_localConfig->Read(name);
    if (m_demo) return demo::DemoFeed::BundledFile(name);
    if (m_generatedConfiguration && name == QLatin1String("config.txt")) {
        const std::optional<MatchModel>& model = m_poller->LastGood();
        return GeneratedConfiguration(model ? &*model : nullptr, m_origin);
    }
    return std::nullopt;
}

QJsonObject FeedService::Status() const {
    if (m_poller) return m_poller->Status(UtcNow());
    return {{QStringLiteral("source"), m_demo ? QStringLiteral("demo") : QStringLiteral("none")}};
}

std::unique_ptr<FeedService> StartEmbeddedFeed(const FeedSettings& settings, bool demo, bool endpointGiven,
                                               QUrl& configEndpoint, QUrl& scoreSite) {
    auto service = std::make_unique<FeedService>(settings, demo);
    if (!endpointGiven && settings.localConfig.isEmpty()) service->GenerateConfiguration();
    if (!service->ServesPages() && !service->ServesConfiguration()) return nullptr;
    service->Start(QHostAddress::LocalHost, 0);
    if (service->ServesPages()) scoreSite = service->BaseUrl();
    if (service->ServesConfiguration()) configEndpoint = service->BaseUrl();
    return service;
}

}  // namespace caltrix::feed
