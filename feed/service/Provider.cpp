#include "feed/service/Provider.h"

#include "feed/sources/ApiFootballReader.h"
#include "feed/sources/FootballDataReader.h"
#include "feed/sources/MatchJsonReader.h"
#include "feed/sources/OpenLigaDbReader.h"

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

QString isoDate(std::chrono::sys_seconds instant) {
    return QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count(), Qt::UTC).date().toString(Qt::ISODate);
}

// The provider's dates are UTC dates: every one the local day touches, and
// the next in case dateTo is not inclusive; the poller keeps the local day.
QList<QUrl> footballDataRequest(const QUrl& base, const FeedSettings& settings, const LocalDay& day) {
    QUrl url = below(base, QStringLiteral("/v4/matches"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("dateFrom"), isoDate(day.start));
    query.addQueryItem(QStringLiteral("dateTo"), isoDate(day.end + std::chrono::days(1) - std::chrono::seconds(1)));
    if (!settings.competitions.isEmpty())
        query.addQueryItem(QStringLiteral("competitions"), settings.competitions.join(QLatin1Char(',')));
    url.setQuery(query);
    return {url};
}

// The local date, and the zone the provider reckons it and its kick-offs in.
QList<QUrl> apiFootballRequest(const QUrl& base, const FeedSettings& settings, const LocalDay& day) {
    QUrl url = below(base, QStringLiteral("/fixtures"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("date"), day.date.toString(Qt::ISODate));
    query.addQueryItem(QStringLiteral("timezone"), QString::fromUtf8(settings.timeZone.id()));
    url.setQuery(query);
    return {url};
}

QList<QUrl> jsonRequest(const QUrl& base, const FeedSettings&, const LocalDay&) { return {base}; }

// The current matchday of each league: OpenLigaDB moves it on halfway
// between the last match of one and the first of the next.
QList<QUrl> openLigaDbRequests(const QUrl& base, const FeedSettings& settings, const LocalDay&) {
    QList<QUrl> urls;
    for (const QString& league : settings.competitions)
        urls.append(
            below(base, QStringLiteral("/getmatchdata/") + QString::fromLatin1(QUrl::toPercentEncoding(league))));
    return urls;
}

template <SourceResult (*Read)(const QByteArray&)>
SourceResult readAnyTime(const QByteArray& body, std::chrono::sys_seconds) {
    return Read(body);
}

// football-data's free tier allows 10 calls a minute: one a minute leaves
// room for retries and for other tools on the same key, three a minute while
// a match runs still do. API-Football's free
// tier allows 100 calls a day: the poller shares what is left of the day's
// budget among the rest of the day and sleeps through hours without matches.
// OpenLigaDB is free and needs no key: once a minute at most, and not while
// no match runs. The json source is local or the operator's own: as often as
// the display, and every 10 s while a match runs.
const Provider kFootballData{QStringLiteral("football-data"),
                             QStringLiteral("football-data.org"),
                             QStringLiteral("https://api.football-data.org"),
                             "X-Auth-Token",
                             60s,
                             0,
                             true,
                             false,
                             1s,
                             footballDataRequest,
                             readAnyTime<ReadFootballData>,
                             20s};
const Provider kApiFootball{QStringLiteral("api-football"),
                            QStringLiteral("API-Football"),
                            QStringLiteral("https://v3.football.api-sports.io"),
                            "x-apisports-key",
                            900s,
                            100,
                            false,
                            true,
                            1s,
                            apiFootballRequest,
                            readAnyTime<ReadApiFootball>};
const Provider kOpenLigaDb{QStringLiteral("openligadb"),
                           QStringLiteral("OpenLigaDB"),
                           QStringLiteral("https://api.openligadb.de"),
                           QByteArray(),
                           60s,
                           0,
                           false,
                           true,
                           60s,
                           openLigaDbRequests,
                           ReadOpenLigaDb};
const Provider kJson{
    QStringLiteral("json"),     QString(), QString(), QByteArray(), 30s, 0, false, false, 1s, jsonRequest,
    readAnyTime<ReadMatchJson>, 10s};

}  // namespace

const Provider& ProviderFor(FeedKind kind) {
    switch (kind) {
    case FeedKind::FootballData:
        return kFootballData;
    case FeedKind::ApiFootball:
        return kApiFootball;
    case FeedKind::Json:
        return kJson;
    case FeedKind::OpenLigaDb:
        return kOpenLigaDb;
    case FeedKind::None:
        break;
    }
    throw std::invalid_argument("no provider for this feed kind");
}

QString IntervalProblem(const Provider& provider, std::chrono::seconds interval) {
    if (interval < provider.shortestInterval)
        return QStringLiteral("--feed-interval %1 is too short for %2: at least %3 s")
            .arg(interval.count())
            .arg(provider.origin)
            .arg(provider.shortestInterval.count());
    const auto callsADay = std::chrono::days(1) / interval;
    if (provider.dailyCalls == 0 || callsADay <= provider.dailyCalls) return {};
    return QStringLiteral(
               "--feed-interval %1 would spend %2 calls a day, and %3 allows %4: give at least %5 s, "
               "or leave it out to spread the day's calls over the match hours")
        .arg(interval.count())
        .arg(callsADay)
        .arg(provider.origin)
        .arg(provider.dailyCalls)
        .arg((std::chrono::seconds(std::chrono::days(1)) + std::chrono::seconds(provider.dailyCalls - 1)).count() /
             provider.dailyCalls);
}

QList<QUrl> RequestUrls(const Provider& provider, const FeedSettings& settings, const LocalDay& day) {
    const QString base = settings.url.isEmpty() ? provider.defaultBase : settings.url;
    return provider.requests(QUrl::fromUserInput(base, QDir::currentPath(), QUrl::AssumeLocalFile), settings, day);
}

}  // namespace caltrix::feed
