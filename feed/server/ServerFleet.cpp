#include "feed/server/ServerFleet.h"

#include "feed/service/FeedLogging.h"

#include <algorithm>

namespace caltrix::feed {
namespace {

std::optional<std::string> tokenFrom(const QString& file) {
    if (file.isEmpty()) return std::nullopt;
    return fleet::ReadTokenFile(file.toStdString());
}

}  // namespace

void AddFleetOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("state"),
         QStringLiteral("Folder that keeps the screens' latest reports and pictures across restarts."),
         QStringLiteral("dir")},
        {QStringLiteral("fleet-token-file"),
         QStringLiteral("File holding the token screens report with (without it, reports from loopback only)."),
         QStringLiteral("file")},
        {QStringLiteral("operator-token-file"),
         QStringLiteral("File holding the token of the operator's pages and /metrics, as Bearer or as HTTP Basic's "
                        "password (without it, they answer on loopback only)."),
         QStringLiteral("file")},
    });
}

FleetOptions ReadFleetOptions(const QCommandLineParser& parser) {
    return {parser.value(QStringLiteral("state")), parser.value(QStringLiteral("fleet-token-file")),
            parser.value(QStringLiteral("operator-token-file"))};
}

std::unique_ptr<fleet::Fleet> AddFleet(const FleetOptions& options, FeedService& service, std::string version) {
    fleet::FleetSettings settings;
    settings.fleetToken = tokenFrom(options.fleetTokenFile);
    settings.operatorToken = tokenFrom(options.operatorTokenFile);
    if (!options.stateFolder.isEmpty()) settings.stateFolder = options.stateFolder.toStdString();
    settings.version = std::move(version);
    settings.log = [](const std::string& line) { qCInfo(lcFeed).noquote() << QString::fromStdString(line); };
    FeedServer& server = service.Server();
    settings.feedFigures = [&service, &server] {
        const PollFigures polls = service.Polls();
        const double lastGood = polls.lastGood ? static_cast<double>(polls.lastGood->time_since_epoch().count()) : 0;
        return fleet::FeedFigures{polls.good, polls.failed, lastGood,
                                  static_cast<std::uint64_t>(std::max(0, server.OpenEventStreams()))};
    };
    auto fleet = std::make_unique<fleet::Fleet>(std::move(settings));
    for (HttpRoute& route : fleet->Routes()) server.AddRoute(std::move(route));
    server.SetObserver(
        [fleet = fleet.get()](std::string_view route, int status) { fleet->CountAnswer(route, status); });
    return fleet;
}

}  // namespace caltrix::feed
