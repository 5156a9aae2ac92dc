// Polls one source on its own clock in real seconds and keeps the last good
// match model. Every fault (refused key, rate limit, time-out, network down,
// oversized or unreadable answer) gets one log line when it starts or
// changes, a back-off, and leaves the last good model in place.
#pragma once

#include "feed/model/MatchModel.h"
#include "feed/service/FeedOptions.h"
#include "feed/service/MatchSource.h"
#include "feed/service/Provider.h"
#include "feed/service/SourceHealth.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTimer>

#include <chrono>
#include <optional>
#include <set>
#include <string>

class QThread;

namespace caltrix {
class CappedGet;
}

namespace caltrix::feed {

struct PollLimits {
    std::chrono::milliseconds timeout{20000};  // for the whole answer
    qint64 sizeCap = 8 * 1024 * 1024;          // bytes of one answer
    // Results this old, after two missed polls in a row, are no longer served
    // as live, so the displays mark what they show as stale.
    std::chrono::seconds outdatedAfter{600};
};

// Bytes of an error answer read for the provider's message.
inline constexpr qint64 kErrorBodyCap = 64 * 1024;

class FeedPoller : public MatchSource {
    Q_OBJECT
public:
    // `interval` overrides the provider's default schedule.
    FeedPoller(const Provider& provider, FeedSettings settings, std::optional<std::chrono::milliseconds> interval,
               PollLimits limits = {});
    ~FeedPoller() override;

    void Start() override;  // polls now, then on its clock
    std::optional<std::string> PageNow() override;
    const MatchModel* LastGoodMatches() const override { return m_lastGood ? &*m_lastGood : nullptr; }
    QString Description() const override;
    QString Origin() const override;

    const std::optional<MatchModel>& LastGood() const { return m_lastGood; }
    // The last good model while it is current: none before the first good
    // answer, nor once the provider has failed since and it is outdated (said
    // once in the log).
    const MatchModel* Current();
    // Source, last good poll and its age, the fault now (if any), for /feed/status.
    QJsonObject Status(std::chrono::sys_seconds now) const override;
    PollFigures Polls(std::chrono::sys_seconds) const override { return m_health.Polls(); }

signals:
    void PollFinished();  // after every poll, good or not

private:
    void poll();
    void fetchNext();
    void received(QByteArray body);
    void pollFile(const QString& path);
    void pollNetwork(const QUrl& url);
    void onReplyFinished(CappedGet& get);
    void readOffUiThread();
    void onRead(const SourceResult& result);
    void refused(const SourceResult& answer);
    void fault(const QString& what);
    void finishPoll(std::chrono::milliseconds wait);
    std::chrono::milliseconds intervalAfterGoodPoll(std::chrono::sys_seconds now) const;
    std::chrono::milliseconds withRateLimit(std::chrono::milliseconds wait) const;

    const Provider& m_provider;
    const FeedSettings m_settings;
    const std::optional<std::chrono::milliseconds> m_interval;
    const PollLimits m_limits;
    QNetworkAccessManager m_network;
    QTimer m_clock;
    QThread* m_reading = nullptr;

    // The poll in flight: its requests still to make and the answers so far.
    QList<QUrl> m_requests;
    QList<QByteArray> m_bodies;
    std::optional<std::chrono::seconds> m_rateLimitWait;

    std::optional<MatchModel> m_lastGood;
    std::optional<int> m_callsLeft;  // of the day's budget, when the provider tells
    SourceHealth m_health;
    // Each unknown status is logged once a run; a provider inventing new ones
    // cannot grow the set or the log without bound.
    static constexpr std::size_t kMaxStatusKindsLogged = 64;
    std::set<std::string> m_unknownStatusesLogged;
};

}  // namespace caltrix::feed
