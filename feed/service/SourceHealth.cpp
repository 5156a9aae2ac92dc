#include "feed/service/SourceHealth.h"

#include "feed/service/FeedLogging.h"

#include <QDateTime>

namespace caltrix::feed {
namespace {

using namespace std::chrono;

QString utcText(sys_seconds instant) {
    return QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count(), Qt::UTC).toString(Qt::ISODate);
}

QString durationText(seconds duration) {
    return duration < 120s ? QStringLiteral("%1 s").arg(duration.count())
                           : QStringLiteral("%1 min").arg(duration_cast<minutes>(duration).count());
}

}  // namespace

SourceHealth::SourceHealth(QString source, seconds outdatedAfter)
    : m_source(std::move(source)), m_outdatedAfter(outdatedAfter) {}

bool SourceHealth::Good(sys_seconds now, std::size_t matches, const QString& size) {
    const bool endsFault = !m_fault.isEmpty();
    if (endsFault)
        qCInfo(lcFeed).noquote() << QStringLiteral("%1: answering again after \"%2\"; %3").arg(m_source, m_fault, size);
    else if (!m_matches || size != m_size)
        qCInfo(lcFeed).noquote() << QStringLiteral("%1: %2").arg(m_source, size);
    m_lastGoodTime = now;
    m_matches = matches;
    m_size = size;
    ++m_goodPolls;
    m_fault.clear();
    m_faultSince.reset();
    m_faultsInARow = 0;
    m_outdatedLogged = false;
    return endsFault;
}

milliseconds SourceHealth::Failed(const QString& what, sys_seconds now,
                                  const std::function<milliseconds(int faultsInARow)>& nextPoll) {
    ++m_faultsInARow;
    ++m_failedPolls;
    const milliseconds wait = nextPoll(m_faultsInARow);
    if (what != m_fault) {
        qCWarning(lcFeed).noquote() << QStringLiteral("%1: %2; next poll in %3; %4")
                                           .arg(m_source, what, durationText(duration_cast<seconds>(wait)),
                                                ageOfLastGood(now));
        m_faultSince = now;
    }
    m_fault = what;
    return wait;
}

bool SourceHealth::Withheld(sys_seconds now) {
    if (!outdated(now)) return false;
    if (!m_outdatedLogged) {
        qCWarning(lcFeed).noquote() << QStringLiteral(
                                           "%1: no good answer since %2; the page is withheld until the next one, "
                                           "so the displays show their results as stale")
                                           .arg(m_source, utcText(*m_lastGoodTime));
        m_outdatedLogged = true;
    }
    return true;
}

// Two missed polls at least, so that one fault of a provider polled less
// often than the age limit does not turn every screen stale.
bool SourceHealth::outdated(sys_seconds now) const {
    return m_faultsInARow >= 2 && m_lastGoodTime && now - *m_lastGoodTime >= m_outdatedAfter;
}

QString SourceHealth::ageOfLastGood(sys_seconds now) const {
    if (!m_lastGoodTime) return QStringLiteral("no results yet");
    return QStringLiteral("keeping the results of %1 (%2 old)")
        .arg(utcText(*m_lastGoodTime), durationText(now - *m_lastGoodTime));
}

QJsonObject SourceHealth::Status(sys_seconds now, int nextPollSeconds) const {
    const auto orNull = [](bool present, const QJsonValue& value) { return present ? value : QJsonValue(); };
    return {
        {QStringLiteral("source"), m_source},
        {QStringLiteral("lastGoodPoll"),
         orNull(m_lastGoodTime.has_value(), m_lastGoodTime ? utcText(*m_lastGoodTime) : QString())},
        {QStringLiteral("ageSeconds"),
         orNull(m_lastGoodTime.has_value(), m_lastGoodTime ? double((now - *m_lastGoodTime).count()) : 0.0)},
        {QStringLiteral("matches"), orNull(m_matches.has_value(), m_matches ? double(*m_matches) : 0.0)},
        {QStringLiteral("fault"), orNull(!m_fault.isEmpty(), m_fault)},
        {QStringLiteral("faultSince"),
         orNull(m_faultSince.has_value(), m_faultSince ? utcText(*m_faultSince) : QString())},
        {QStringLiteral("nextPollSeconds"), nextPollSeconds},
    };
}

}  // namespace caltrix::feed
