#include "feed/service/Provider.h"

#include "feed/sources/ApiFootballReader.h"
#include "feed/sources/FootballDataReader.h"
#include "feed/sources/MatchJsonReader.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QUrlQuery>

#include <stdexcept>

namespace caltrix::feed {
namespace {

using namespace std::chrono_literals;

// `base` with `path` appended to its own path, so a proxy prefix stays.
QUrl below(QUrl base, const QString& path) {
    QString joined = base.path();
    while (joined.endsWith(QLatin1Char('/'))) joined.chop(1);
    base.setPath(joined + path);
    return base;
}

QUrl footballDataRequest(const QUrl& base, const QStringList& competitions, std::chrono::sys_seconds) {
    QUrl url = below(base, QStringLiteral("/v4/matches"));
    if (!competitions.isEmpty()) url.setQuery(QStringLiteral("competitions=") + competitions.join(QLatin1Char(',')));
    return url;
}

// Today is the UTC date: the provider's dates are UTC unless asked otherwise.
QUrl apiFootballRequest(const QUrl& base, const QStringList&, std::chrono::sys_seconds now) {
    QUrl url = below(base, QStringLiteral("/fixtures"));
    const QDate today = QDateTime::fromSecsSinceEpoch(now.time_since_epoch().count(), Qt::UTC).date();
    url.setQuery(QStringLiteral("date=") + today.toString(Qt::ISODate));
    return url;
}

QUrl jsonRequest(const QUrl& base, const QStringList&, std::chrono::sys_seconds) { return base; }

// football-data's free tier allows 10 calls a minute: one a minute leaves
// room for retries and for other tools on the same key. API-Football's free
// tier allows 100 calls a day: the poller shares what is left of the day's
// budget among the rest of the day and sleeps through hours without matches.
// The json source is local or the operator's own: as often as the display.
const Provider kFootballData{QStringLiteral("football-data"),
                             QStringLiteral("football-data.org"),
                             QStringLiteral("https://api.football-data.org"),
                             "X-Auth-Token",
                             60s,
                             false,
                             footballDataRequest,
                             ReadFootballData};
const Provider kApiFootball{QStringLiteral("api-football"),
                            QStringLiteral("API-Football"),
                            QStringLiteral("https://v3.football.api-sports.io"),
                            "x-apisports-key",
                            900s,
                            true,
                            apiFootballRequest,
                            ReadApiFootball};
const Provider kJson{QStringLiteral("json"), QString(), QString(), QByteArray(), 30s, false, jsonRequest,
                     ReadMatchJson};

}  // namespace

const Provider& ProviderFor(FeedKind kind) {
    switch (kind) {
    case FeedKind::FootballData:
        return kFootballData;
    case FeedKind::ApiFootball:
        return kApiFootball;
    case FeedKind::Json:
        return kJson;
    case FeedKind::None:
        break;
    }
    throw std::invalid_argument("no provider for this feed kind");
}

QUrl RequestUrl(const Provider& provider, const FeedSettings& settings, std::chrono::sys_seconds now) {
    const QString base = settings.url.isEmpty() ? provider.defaultBase : settings.url;
    return provider.request(QUrl::fromUserInput(base, QDir::currentPath(), QUrl::AssumeLocalFile),
                            settings.competitions, now);
}

}  // namespace caltrix::feed
