#include "feed/service/FeedOptions.h"

#include "feed/service/FeedLogging.h"
#include "feed/service/Provider.h"
#include "common/qt/HttpAddress.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace caltrix::feed {
namespace {

constexpr qint64 kMaxKeyFileBytes = 4096;

std::optional<FeedKind> kindNamed(const QString& name) {
    if (name == QLatin1String("football-data")) return FeedKind::FootballData;
    if (name == QLatin1String("api-football")) return FeedKind::ApiFootball;
    if (name == QLatin1String("json")) return FeedKind::Json;
    if (name == QLatin1String("openligadb")) return FeedKind::OpenLigaDb;
    return std::nullopt;
}

// The key, trimmed; empty with `problem` set when the file is unusable.
QString readKey(const QString& path, QString& problem) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot read the key file %1").arg(path);
        return {};
    }
    if (file.permissions() & (QFile::ReadGroup | QFile::ReadOther))
        qCWarning(lcFeed).noquote()
            << QStringLiteral("the key file %1 can be read by other users: chmod 600 it").arg(path);
    const QString key = QString::fromUtf8(file.read(kMaxKeyFileBytes)).trimmed();
    if (key.isEmpty() || key.contains(QLatin1Char('\n')))
        problem = QStringLiteral("the key file %1 must hold one key").arg(path);
    return key;
}

}  // namespace

void AddFeedOptions(QCommandLineParser& parser) {
    parser.addOptions({
        {QStringLiteral("feed"),
         QStringLiteral(
             "Poll match data from a provider (openligadb, football-data, api-football or json) and serve it "
             "as the live-score page."),
         QStringLiteral("provider")},
        {QStringLiteral("feed-token-file"), QStringLiteral("File holding the provider's API key (keep it chmod 600)."),
         QStringLiteral("file")},
        {QStringLiteral("feed-url"),
         QStringLiteral("Provider base address (default: its public address); for json a file or an http(s) address."),
         QStringLiteral("address")},
        {QStringLiteral("feed-competitions"),
         QStringLiteral("football-data competition codes to poll, e.g. SA,PL (default: all of the key's); "
                        "OpenLigaDB league shortcuts, e.g. bl1,bl2 (default: bl1)."),
         QStringLiteral("list")},
        {QStringLiteral("feed-interval"),
         QStringLiteral("Seconds between polls (default: within the provider's free tier)."),
         QStringLiteral("seconds")},
        {QStringLiteral("time-zone"),
         QStringLiteral("The screens' time zone, an IANA name such as America/Sao_Paulo: the day whose matches are "
                        "shown and the zone of kick-off times (default: this machine's)."),
         QStringLiteral("zone")},
        {QStringLiteral("local-config"),
         QStringLiteral("Serve this folder's config.txt and banner pages as the configuration endpoint."),
         QStringLiteral("dir")},
    });
}

std::optional<FeedSettings> ReadFeedOptions(const QCommandLineParser& parser, QString& problem) {
    const auto value = [&parser](const char* name) { return parser.value(QLatin1String(name)); };
    const auto isSet = [&parser](const char* name) { return parser.isSet(QLatin1String(name)); };
    FeedSettings settings;
    if (isSet("feed")) {
        const auto kind = kindNamed(value("feed"));
        if (!kind)
            problem = QStringLiteral("invalid --feed: %1 (openligadb, football-data, api-football or json)")
                          .arg(value("feed"));
        else
            settings.kind = *kind;
    }
    settings.url = value("feed-url").trimmed();
    settings.localConfig = value("local-config");
    const QString competitions = value("feed-competitions");
    settings.competitions = competitions.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& code : settings.competitions) code = code.trimmed();

    const bool needsKey = settings.kind == FeedKind::FootballData || settings.kind == FeedKind::ApiFootball;
    const bool feedOptionWithoutFeed =
        settings.kind == FeedKind::None && (isSet("feed-token-file") || isSet("feed-url") ||
                                            isSet("feed-competitions") || isSet("feed-interval") || isSet("time-zone"));
    if (isSet("feed-interval")) {
        bool ok = false;
        const int seconds = value("feed-interval").toInt(&ok);
        if (!ok || seconds < 1)
            problem =
                QStringLiteral("invalid --feed-interval: %1 (whole seconds, at least 1)").arg(value("feed-interval"));
        else
            settings.interval = std::chrono::seconds(seconds);
    }
    if (isSet("time-zone")) {
        settings.timeZone = QTimeZone(value("time-zone").trimmed().toUtf8());
        if (!settings.timeZone.isValid())
            problem =
                QStringLiteral("invalid --time-zone: %1 (an IANA name such as Europe/Rome)").arg(value("time-zone"));
    }
    if (!problem.isEmpty()) return std::nullopt;

    if (feedOptionWithoutFeed)
        problem = QStringLiteral("the --feed-* and --time-zone options need --feed");
    else if (needsKey && !isSet("feed-token-file"))
        problem = QStringLiteral("--feed %1 needs --feed-token-file").arg(value("feed"));
    else if (settings.kind == FeedKind::Json && settings.url.isEmpty())
        problem = QStringLiteral("--feed json needs --feed-url (a file or an http(s) address)");
    else if (settings.kind != FeedKind::Json && !settings.url.isEmpty() && !HttpAddress(settings.url))
        problem = QStringLiteral("invalid --feed-url: %1 (an http or https address)").arg(settings.url);
    else if (!settings.competitions.isEmpty() && settings.kind != FeedKind::FootballData &&
             settings.kind != FeedKind::OpenLigaDb)
        problem = QStringLiteral("--feed-competitions applies to --feed football-data and openligadb only");
    else if (!settings.localConfig.isEmpty() && !QFileInfo(settings.localConfig).isDir())
        problem = QStringLiteral("invalid --local-config: %1 is not a folder").arg(settings.localConfig);
    else if (settings.interval && settings.kind != FeedKind::None)
        problem = IntervalProblem(ProviderFor(settings.kind), *settings.interval);
    if (problem.isEmpty() && needsKey) settings.key = readKey(value("feed-token-file"), problem);
    if (!problem.isEmpty()) return std::nullopt;
    // A provider's address may leave out its scheme, as the site's may.
    if (settings.kind != FeedKind::Json && !settings.url.isEmpty())
        settings.url = HttpAddress(settings.url)->toString();
    if (settings.kind == FeedKind::OpenLigaDb && settings.competitions.isEmpty())
        settings.competitions = QStringList{QStringLiteral("bl1")};
    return settings;
}

}  // namespace caltrix::feed
