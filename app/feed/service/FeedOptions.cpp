#include "app/feed/service/FeedOptions.h"

#include "app/feed/service/FeedLogging.h"

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
    return std::nullopt;
}

bool isHttpAddress(const QString& text) {
    const QUrl url(text);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
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
         QStringLiteral("Poll match data from a provider (football-data, api-football or json) and serve it "
                        "from inside the program as the live-score site."),
         QStringLiteral("provider")},
        {QStringLiteral("feed-token-file"), QStringLiteral("File holding the provider's API key (keep it chmod 600)."),
         QStringLiteral("file")},
        {QStringLiteral("feed-url"),
         QStringLiteral("Provider base address (default: its public address); for json a file or an http(s) address."),
         QStringLiteral("address")},
        {QStringLiteral("feed-competitions"),
         QStringLiteral("football-data competition codes to poll, e.g. SA,PL (default: all of the key's)."),
         QStringLiteral("list")},
        {QStringLiteral("feed-interval"),
         QStringLiteral("Seconds between polls (default: within the provider's free tier)."),
         QStringLiteral("seconds")},
        {QStringLiteral("local-config"),
         QStringLiteral("Serve this folder's config.txt and banner pages as the configuration endpoint."),
         QStringLiteral("dir")},
    });
}

std::optional<FeedSettings> ReadFeedOptions(const QCommandLineParser& parser, QString& problem) {
    FeedSettings settings;
    if (parser.isSet(QStringLiteral("feed"))) {
        const auto kind = kindNamed(parser.value(QStringLiteral("feed")));
        if (!kind)
            problem = QStringLiteral("invalid --feed: %1 (football-data, api-football or json)")
                          .arg(parser.value(QStringLiteral("feed")));
        else
            settings.kind = *kind;
    }
    settings.url = parser.value(QStringLiteral("feed-url")).trimmed();
    settings.localConfig = parser.value(QStringLiteral("local-config"));
    const QString competitions = parser.value(QStringLiteral("feed-competitions"));
    settings.competitions = competitions.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& code : settings.competitions) code = code.trimmed();

    const bool needsKey = settings.kind == FeedKind::FootballData || settings.kind == FeedKind::ApiFootball;
    const bool feedOptionWithoutFeed =
        settings.kind == FeedKind::None &&
        (parser.isSet(QStringLiteral("feed-token-file")) || parser.isSet(QStringLiteral("feed-url")) ||
         parser.isSet(QStringLiteral("feed-competitions")) || parser.isSet(QStringLiteral("feed-interval")));
    if (parser.isSet(QStringLiteral("feed-interval"))) {
        bool ok = false;
        const int seconds = parser.value(QStringLiteral("feed-interval")).toInt(&ok);
        if (!ok || seconds < 1)
            problem = QStringLiteral("invalid --feed-interval: %1 (whole seconds, at least 1)")
                          .arg(parser.value(QStringLiteral("feed-interval")));
        else
            settings.interval = std::chrono::seconds(seconds);
    }
    if (!problem.isEmpty()) return std::nullopt;

    if (feedOptionWithoutFeed)
        problem = QStringLiteral("the --feed-* options need --feed");
    else if (needsKey && !parser.isSet(QStringLiteral("feed-token-file")))
        problem = QStringLiteral("--feed %1 needs --feed-token-file").arg(parser.value(QStringLiteral("feed")));
    else if (settings.kind == FeedKind::Json && settings.url.isEmpty())
        problem = QStringLiteral("--feed json needs --feed-url (a file or an http(s) address)");
    else if (needsKey && !settings.url.isEmpty() && !isHttpAddress(settings.url))
        problem = QStringLiteral("invalid --feed-url: %1 (an http or https address)").arg(settings.url);
    else if (!settings.competitions.isEmpty() && settings.kind != FeedKind::FootballData)
        problem = QStringLiteral("--feed-competitions applies to --feed football-data only");
    else if (!settings.localConfig.isEmpty() && !QFileInfo(settings.localConfig).isDir())
        problem = QStringLiteral("invalid --local-config: %1 is not a folder").arg(settings.localConfig);
    else if (needsKey)
        settings.key = readKey(parser.value(QStringLiteral("feed-token-file")), problem);
    if (!problem.isEmpty()) return std::nullopt;
    return settings;
}

}  // namespace caltrix::feed
