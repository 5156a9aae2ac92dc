// caltrix-feed: the live match data sources as a small HTTP server without a
// display. One poll of the provider serves every screen of a room or a chain
// of bars (Caltrix --score-site feedhost:port), and --local-config serves
// their configuration too.
#include "feed/server/ServerFleet.h"
#include "feed/service/FeedService.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <sys/resource.h>

#include <cstdio>
#include <optional>

namespace {

struct ServerSettings {
    caltrix::feed::FeedSettings feed;
    bool demo = false;
    caltrix::feed::FleetOptions fleet;
    QHostAddress address;
    quint16 port = 0;
    QUrl publisher;  // empty: the events are not published
};

// "ADDR:PORT" or ":PORT" (every address).
bool readListen(const QString& value, ServerSettings& settings) {
    const qsizetype colon = value.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const uint port = value.mid(colon + 1).toUInt(&ok);
    if (colon < 0 || !ok || port == 0 || port > 65535) return false;
    QString host = value.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) host = host.mid(1, host.size() - 2);
    settings.address = host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(host);
    settings.port = static_cast<quint16>(port);
    return !settings.address.isNull();
}

bool readPublisher(const QString& value, ServerSettings& settings) {
    settings.publisher = QUrl(value);
    const QString scheme = settings.publisher.scheme();
    return settings.publisher.isValid() && !settings.publisher.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

std::optional<ServerSettings> parse(const QCoreApplication& app, int& exitCode) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "caltrix-feed: polls a football data provider and serves its matches as the live-score page\n"
        "/default.dll?page=soccer (&v=N: version N or newer), the configuration of --local-config under\n"
        "/public/, /feed/status, and /feed/events, a Server-Sent Events stream of new versions."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Address and port to serve on (default 127.0.0.1:8080; :PORT for every address)."),
        QStringLiteral("addr:port"), QStringLiteral("127.0.0.1:8080"));
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Serve the simulated match day instead of a provider."));
    const QCommandLineOption publish(
        QStringLiteral("publish"),
        QStringLiteral("Also post each event of /feed/events to this pub/sub publisher location (nginx's nchan "
                       "module), e.g. http://127.0.0.1/caltrix/publish: the event's data as the body and its type in "
                       "X-EventSource-Event."),
        QStringLiteral("url"));
    parser.addOptions({listen, demo, publish});
    caltrix::feed::AddFeedOptions(parser);
    caltrix::feed::AddFleetOptions(parser);
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s See --help.\n", qPrintable(parser.errorText()));
        exitCode = 2;
        return std::nullopt;
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();

    ServerSettings settings;
    settings.demo = parser.isSet(demo);
    settings.fleet = caltrix::feed::ReadFleetOptions(parser);
    QString problem;
    if (!readListen(parser.value(listen), settings))
        problem = QStringLiteral("invalid --listen: ") + parser.value(listen);
    else if (parser.isSet(publish) && !readPublisher(parser.value(publish), settings))
        problem = QStringLiteral("invalid --publish: %1 (an http or https address)").arg(parser.value(publish));
    else if (auto feed = caltrix::feed::ReadFeedOptions(parser, problem))
        settings.feed = std::move(*feed);
    if (problem.isEmpty() && settings.demo == (settings.feed.kind != caltrix::feed::FeedKind::None))
        problem = QStringLiteral("give either --feed or --demo");
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        exitCode = 2;
        return std::nullopt;
    }
    return settings;
}

// Each screen holds a connection, and the server's cap follows the soft
// descriptor limit (often 1,024): raise it to the hard one.
void raiseDescriptorLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("caltrix-feed"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CALTRIX_VERSION));
    int exitCode = 0;
    const auto settings = parse(app, exitCode);
    if (!settings) return exitCode;
    raiseDescriptorLimit();
    caltrix::feed::FeedService service(settings->feed, settings->demo);
    if (!settings->publisher.isEmpty()) service.PublishEventsTo(settings->publisher);
    std::unique_ptr<caltrix::fleet::Fleet> fleet;
    try {
        fleet = caltrix::feed::AddFleet(settings->fleet, service, CALTRIX_VERSION);
        service.Start(settings->address, settings->port);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "caltrix-feed cannot start: %s\n", error.what());
        return 1;
    }
    return app.exec();
}
