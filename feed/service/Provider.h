// What the poller needs to know of each kind of source: its name, default
// address, the request for the local day's matches, the header that carries the key,
// the reader of its answers and its default poll interval.
#pragma once

#include "feed/service/FeedOptions.h"
#include "feed/service/LocalDay.h"
#include "feed/sources/SourceResult.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>

namespace caltrix::feed {

struct Provider {
    QString name;                       // in log lines and the status
    QString origin;                     // where the results come from, for the ticker; empty: the address polled
    QString defaultBase;                // empty: no default (the json source)
    QByteArray keyHeader;               // empty: no key
    std::chrono::seconds interval;      // default time between polls
    int dailyCalls = 0;                 // calls a day on the free plan, spread over the match hours; 0: not counted
    bool localDayOnly = false;          // answers hold more than the local day: keep only its matches
    bool sleepsBetweenMatches = false;  // polls no more while no match runs, until the next kick-off
    std::chrono::seconds shortestInterval{1};  // for --feed-interval
    // One request, or one per competition for a provider asked by competition.
    QList<QUrl> (*requests)(const QUrl& base, const FeedSettings& settings, const LocalDay& day);
    SourceResult (*read)(const QByteArray& body, std::chrono::sys_seconds now);
    std::chrono::seconds liveInterval{0};  // while a match runs or is due; 0: `interval` then too
};

const Provider& ProviderFor(FeedKind kind);

// Why a fixed `interval` cannot be kept by `provider`: it would spend more
// than the day's calls. Empty when it can.
QString IntervalProblem(const Provider& provider, std::chrono::seconds interval);

// The addresses polled: the requests built on `settings.url` or the default base.
QList<QUrl> RequestUrls(const Provider& provider, const FeedSettings& settings, const LocalDay& day);

}  // namespace caltrix::feed
