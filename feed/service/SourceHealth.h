// How a polled source is doing: its good and failed polls, the fault now and
// since when, and whether its last good results are outdated. Each fault gets
// one log line when it starts or changes, a source answering again one more,
// and results withheld as outdated one. Every rule takes the time it is
// asked at.
#pragma once

#include "feed/service/MatchSource.h"

#include <QJsonObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

namespace caltrix::feed {

class SourceHealth {
public:
    // `outdatedAfter`: results this old, after two missed polls in a row,
    // are no longer served as live.
    SourceHealth(QString source, std::chrono::seconds outdatedAfter);

    // A good poll at `now` that brought `matches` matches, described as
    // `size`. Returns whether it ends a fault.
    bool Good(std::chrono::sys_seconds now, std::size_t matches, const QString& size);
    // A failed poll at `now`; `nextPoll` is the wait for the next one after
    // this many faults in a row.
    std::chrono::milliseconds Failed(const QString& what, std::chrono::sys_seconds now,
                                     const std::function<std::chrono::milliseconds(int faultsInARow)>& nextPoll);

    // Whether the last good results are outdated at `now` (said once in the
    // log until the next good poll).
    bool Withheld(std::chrono::sys_seconds now);
    const QString& Fault() const { return m_fault; }  // empty after a good poll
    PollFigures Polls() const { return {m_goodPolls, m_failedPolls, m_lastGoodTime}; }
    // Source, last good poll and its age, its matches, the fault now (if
    // any) and since when, and the seconds to the next poll.
    QJsonObject Status(std::chrono::sys_seconds now, int nextPollSeconds) const;

private:
    bool outdated(std::chrono::sys_seconds now) const;
    QString ageOfLastGood(std::chrono::sys_seconds now) const;

    const QString m_source;
    const std::chrono::seconds m_outdatedAfter;
    std::optional<std::chrono::sys_seconds> m_lastGoodTime;
    std::optional<std::size_t> m_matches;  // of the last good poll
    QString m_size;                        // of the last good poll, as logged
    QString m_fault;
    std::optional<std::chrono::sys_seconds> m_faultSince;
    int m_faultsInARow = 0;
    std::uint64_t m_goodPolls = 0;
    std::uint64_t m_failedPolls = 0;
    bool m_outdatedLogged = false;
};

}  // namespace caltrix::feed
