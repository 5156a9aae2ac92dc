#include "feed/service/LocalDay.h"

#include <QDateTime>

#include <algorithm>

namespace caltrix::feed {
namespace {

using std::chrono::sys_seconds;

sys_seconds instant(const QDateTime& time) { return sys_seconds(std::chrono::seconds(time.toSecsSinceEpoch())); }

}  // namespace

LocalDay LocalDayAt(sys_seconds now, const QTimeZone& zone) {
    const QDate date = QDateTime::fromSecsSinceEpoch(now.time_since_epoch().count(), zone).date();
    return {date, instant(QDateTime(date, QTime(0, 0), zone)), instant(QDateTime(date.addDays(1), QTime(0, 0), zone))};
}

std::chrono::seconds UtcOffset(const QTimeZone& zone, sys_seconds instant) {
    return std::chrono::seconds(
        zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(instant.time_since_epoch().count(), Qt::UTC)));
}

void KeepMatchesOf(const LocalDay& day, MatchModel& model) {
    auto& competitions = model.competitions;
    for (Competition& competition : competitions)
        std::erase_if(competition.matches,
                      [&day](const Match& match) { return match.kickoff < day.start || match.kickoff >= day.end; });
    std::erase_if(competitions, [](const Competition& competition) { return competition.matches.empty(); });
}

}  // namespace caltrix::feed
