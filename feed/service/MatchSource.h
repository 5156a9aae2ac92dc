// What the feed service serves its pages from: a provider polled over the
// network, a file or address in the program's own format, or the demo's
// simulated match day.
#pragma once

#include "feed/model/MatchModel.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace caltrix::feed {

// A source's polls so far, for the metrics.
struct PollFigures {
    std::uint64_t good = 0;
    std::uint64_t failed = 0;
    std::optional<std::chrono::sys_seconds> lastGood;  // none before the first good poll
};

class MatchSource : public QObject {
    Q_OBJECT
public:
    virtual void Start() = 0;
    // The live-score page now; nothing while there are no current results.
    virtual std::optional<std::string> PageNow() = 0;
    // The last good matches, current or not; null before the first.
    virtual const MatchModel* LastGoodMatches() const = 0;
    // The source and, for a polled one, its last good poll, age and fault.
    virtual QJsonObject Status(std::chrono::sys_seconds now) const = 0;
    // What is served, for the log: "the football-data feed".
    virtual QString Description() const = 0;
    // Where the results come from, for a generated ticker.
    virtual QString Origin() const = 0;
    // Its polls so far; a source that is not polled is always current.
    virtual PollFigures Polls(std::chrono::sys_seconds now) const { return {0, 0, now}; }

signals:
    // The page has new results: a poll took in an answer that changed the
    // matches, or brought them back after faults.
    void PageChanged();
};

}  // namespace caltrix::feed
